// Feeds arbitrary bytes to the JSON reader. Whatever it accepts must find
// every member of every object it read by that member's name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/error.h"
#include "core/json_value.h"

namespace {

void CheckMembers(const tova::TJsonValue& value) {
    for (const tova::TJsonValue& item : value.Items)
        CheckMembers(item);
    for (const tova::TJsonMember& member : value.Members) {
        if (!value.Member(member.Key)) std::abort();
        CheckMembers(member.Value);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        CheckMembers(tova::ParseJson(std::string_view(reinterpret_cast<const char*>(data), size)));
    } catch (const tova::ETovaError&) {
        return 0;  // damaged text is refused with a clear error
    }
    return 0;
}
