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

void WritePageString(TStream& stream, std::string_view text) {
    WriteString(stream, text);
}

int32_t ReadCount(TStream& stream, int64_t minSize, std::string_view what) {
    const int32_t count = ReadI32(stream);
    if (count < 0 || count > stream.Remaining() / minSize)
        throw ETovaError(TErrorKind::DamagedPage, "damaged page: " + std::string(what) + " count " +
                                                      std::to_string(count) + " exceeds the data");
    return count;
}

void ReadParserList(TStream& stream, TParserList& list) {
    const int32_t count = ReadCount(stream, kMinExpressionSize, "expression");
    list.clear();
    list.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        list.push_back(std::make_unique<TTovaParser>());
        list.back()->LoadFromStream(stream);
    }
}

void WriteParserList(TStream& stream, const TParserList& list) {
    WriteI32(stream, static_cast<int32_t>(list.size()));
    for (const auto& parser : list)
        parser->SaveToStream(stream);
}

}  // namespace tova
