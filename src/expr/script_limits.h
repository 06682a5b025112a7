// What one script value may hold. A script that builds a text beyond the
// limit (a runaway loop that doubles a string, StringOfChar with a huge
// count) fails like any expression error instead of taking the machine's
// memory; no game comes near it.
#pragma once

#include <cstdint>
#include <string>

#include "core/error.h"

namespace tova {

constexpr uint64_t kMaxScriptTextBytes = uint64_t{64} << 20;

// Raises the expression error for a text of that many bytes past the limit.
inline void CheckScriptTextLength(uint64_t bytes) {
    if (bytes > kMaxScriptTextBytes)
        throw ETovaError("the text would be longer than " + std::to_string(kMaxScriptTextBytes >> 20) +
                         " MiB (" + std::to_string(bytes) + " bytes)");
}

}  // namespace tova
