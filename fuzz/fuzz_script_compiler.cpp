// Feeds arbitrary bytes to the script compiler and, read as a page, to the
// decompiler. Whatever compiles must decompile and compile again to the same
// page bytes; whatever page loads must decompile to a source that compiles
// back to its bytes. The first byte chooses the direction.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/stream.h"
#include "engine/page.h"
#include "sdk/script_compiler.h"

namespace {

std::vector<uint8_t> PageBytes(const tova::TPage& page) {
    tova::TTpMemoryStream stream;
    page.SaveToStream(stream);
    return stream.Bytes();
}

// The decompiled form of page must compile back to its bytes.
void CheckRoundTrip(const tova::TPage& page) {
    tova::TPage again;
    try {
        tova::sdk::CompileScript(tova::sdk::DecompileScript(page), "fuzz.tss", again);
    } catch (const tova::ETovaError&) {
        std::abort();
    }
    if (PageBytes(again) != PageBytes(page)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool asPage = (data[0] & 1) != 0;
    ++data;
    --size;
    tova::TPage page;
    if (asPage) {
        tova::TTpMemoryStream input(std::vector<uint8_t>(data, data + size));
        try {
            page.LoadFromStream(input);
        } catch (const tova::ETovaError&) {
            return 0;
        }
        page.Name = "fuzz.tsb";
    } else {
        try {
            tova::sdk::CompileScript(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.tss",
                                     page);
        } catch (const tova::ETovaError&) {
            if (page.Count() != 0) std::abort();
            return 0;
        }
    }
    CheckRoundTrip(page);
    return 0;
}
