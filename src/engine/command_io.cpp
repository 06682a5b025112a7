#include "engine/command_io.h"

#include <string>

#include "core/binary_io.h"
#include "core/error.h"

namespace tova {

std::string ReadPageString(TStream& stream) {
    const int32_t length = ReadI32(stream);
    if (length <= 0) return {};
    if (length > stream.Remaining())
        throw ETovaError(TErrorKind::DamagedPage, "damaged page: a string of " + std::to_string(length) +
                                                      " bytes, but only " +
                                                      std::to_string(stream.Remaining()) + " left");
    std::string text(static_cast<size_t>(length), '\0');
    stream.ReadBuffer(text.data(), length);
    return text;
}

}  // namespace tova
