// Reads arbitrary bytes as a layered image (the first four bytes are the
// image key), makes the frames ready to draw and writes them again.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/error.h"
#include "graphics/brio_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    uint32_t key;
    std::memcpy(&key, data, 4);
    tova::TBrioFrameList list(key);
    list.MaxTotalPixels = 1 << 22;  // keeps the fuzzer's memory small
    tova::TTpMemoryStream stream(std::vector<uint8_t>(data + 4, data + size));
    try {
        list.LoadFromStream(stream);
    } catch (const tova::ETovaError&) {
        return 0;
    }
    list.FinishLoad(true);
    tova::TTpMemoryStream out;
    try {
        list.SaveToStream(out);
    } catch (const tova::ETovaError&) {
        // Frames read from older versions may hold what version 106 cannot.
    }
    return 0;
}
