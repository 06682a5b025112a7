// Reads arbitrary bytes as a PNG file through the image entry point.
#include <cstddef>
#include <cstdint>

#include "core/error.h"
#include "graphics/brio_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tova::TBrioFrameList list;
    list.MaxTotalPixels = 1 << 22;  // keeps the fuzzer's memory small
    tova::TTpMemoryStream stream(std::vector<uint8_t>(data, data + size));
    try {
        list.LoadFromFileData("image.png", stream);
    } catch (const tova::ETovaError&) {
        return 0;
    }
    list.FinishLoad(true);
    return 0;
}
