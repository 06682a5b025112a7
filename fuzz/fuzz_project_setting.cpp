// Feeds arbitrary bytes to the project settings reader. Whatever it accepts
// must write out and read back to the same bytes, and print as JSON.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/error.h"
#include "core/stream.h"
#include "engine/project_setting.h"
#include "engine/setting_json.h"

namespace {

std::vector<uint8_t> Written(const tova::TProjectSetting& setting) {
    tova::TTpMemoryStream stream;
    setting.SaveToStream(stream);
    return stream.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tova::TTpMemoryStream input(std::vector<uint8_t>(data, data + size));
    tova::TProjectSetting setting;
    try {
        setting.LoadFromStream(input);
    } catch (const tova::ETovaError&) {
        return 0;
    }
    tova::ProjectSettingToJson(setting);

    const std::vector<uint8_t> first = Written(setting);
    tova::TTpMemoryStream again(first);
    tova::TProjectSetting reread;
    reread.LoadFromStream(again);
    if (Written(reread) != first) std::abort();
    return 0;
}
