// Reads arbitrary bytes as a cursor or animated cursor file and decodes
// every frame, as the window would when it shows them.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/error.h"
#include "graphics/cursor_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const tova::TCursorAnimation cursor = tova::ReadCursorFile(std::span<const uint8_t>(data, size));
        for (int32_t i = 0; i < cursor.FrameCount(); ++i) {
            try {
                cursor.DecodeFrame(i);
            } catch (const tova::ETovaError&) {
            }
        }
    } catch (const tova::ETovaError&) {
    }
    return 0;
}
