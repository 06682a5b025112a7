// Reads arbitrary bytes as a cursor or animated cursor file.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/error.h"
#include "graphics/cursor_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        tova::ReadCursorFile(std::span<const uint8_t>(data, size));
    } catch (const tova::ETovaError&) {
    }
    return 0;
}
