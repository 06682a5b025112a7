// Page files written byte by byte for the page tests, independently of the
// page writer: expressions compiled from text, the header with its masks and
// command records with their common fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/binary_io.h"
#include "core/stream.h"
#include "engine/command.h"
#include "expr/build_tova_parser.h"

namespace tova::test {

// The stored form of a compiled expression.
inline std::vector<uint8_t> ExprBytes(std::string_view text) {
    TBuildTovaParser parser;
    parser.Compile(text);
    TTpMemoryStream s;
    parser.SaveToStream(s);
    return s.Bytes();
}

inline std::vector<uint8_t> StoredBytes(const TTovaParser& parser) {
    TTpMemoryStream s;
    parser.SaveToStream(s);
    return s.Bytes();
}

class TPageBytes {
public:
    // The version, result type and maskCount entries of entrySize bytes, each
    // filled from masks[k] (zero past what masks holds).
    TPageBytes(int32_t version, uint8_t resultType, const std::vector<TPropertyMask>& masks,
               int32_t maskCount, int32_t entrySize) {
        WriteI32(s_, version);
        WriteU8(s_, resultType);
        WriteI32(s_, maskCount);
        WriteI32(s_, entrySize);
        for (int32_t k = 0; k < maskCount && entrySize > 0; ++k)
            for (int32_t b = 0; b < entrySize; ++b) {
                const bool stored = k < static_cast<int32_t>(masks.size()) && b < kPropertyMaskBytes;
                WriteU8(s_, stored ? masks[static_cast<size_t>(k)][static_cast<size_t>(b)] : 0);
            }
    }
    // The usual header: 61 entries of 21 bytes.
    TPageBytes(int32_t version, const std::vector<TPropertyMask>& masks = {})
        : TPageBytes(version, 1, masks, kCommandCodeCount, kPropertyMaskBytes) {}

    void Count(int32_t commands) { WriteI32(s_, commands); }
    // Type byte and common fields.
    void Command(uint8_t typeByte, int32_t indent = 0, uint8_t disabled = 0, uint8_t chained = 0,
                 int32_t lineId = 0) {
        WriteU8(s_, typeByte);
        WriteI32(s_, indent);
        WriteU8(s_, disabled);
        WriteU8(s_, chained);
        WriteI32(s_, lineId);
    }
    void Expr(std::string_view text) { s_.WriteBuffer(ExprBytes(text)); }
    void Str(std::string_view text) { WriteString(s_, text); }
    void I32(int32_t v) { WriteI32(s_, v); }
    void U8(uint8_t v) { WriteU8(s_, v); }

    const std::vector<uint8_t>& Bytes() const { return s_.Bytes(); }
    TTpMemoryStream Stream() const { return TTpMemoryStream(s_.Bytes()); }

private:
    TTpMemoryStream s_;
};

inline TPropertyMask MaskOf(std::initializer_list<int> ids) {
    TPropertyMask mask{};
    for (int id : ids)
        MaskSet(mask, id);
    return mask;
}

}  // namespace tova::test
