// Decodes arbitrary bytes as the JPEG colour data of a layered image.
#include <cstddef>
#include <cstdint>

#include "core/error.h"
#include "graphics/image_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        tova::DecodeJpeg({data, size}, {.MaxPixels = 1 << 22});
    } catch (const tova::ETovaError&) {
    }
    return 0;
}
