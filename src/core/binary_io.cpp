#include "core/binary_io.h"

#include "core/error.h"
#include "core/extended_real.h"

namespace tova {
namespace {

template <class T>
T ReadLE(TStream& s) {
    uint8_t b[sizeof(T)];
    s.ReadBuffer(b, sizeof b);
    uint64_t v = 0;
    for (size_t i = sizeof(T); i-- > 0;)
        v = v << 8 | b[i];
    return static_cast<T>(v);
}

template <class T>
void WriteLE(TStream& s, T value) {
    uint8_t b[sizeof(T)];
    auto v = static_cast<uint64_t>(value);
    for (size_t i = 0; i < sizeof(T); ++i)
        b[i] = static_cast<uint8_t>(v >> (8 * i));
    s.WriteBuffer(b, sizeof b);
}

void CheckLength(TStream& s, int64_t count, const char* what) {
    const int64_t left = s.Remaining();
    if (count < 0 || count > left)
        throw ETovaError(TErrorKind::DamagedData, std::string("damaged data: ") + what + " of " +
                                                      std::to_string(count) + " bytes, but only " +
                                                      std::to_string(left) + " left");
}

}  // namespace

uint8_t ReadU8(TStream& s) {
    return ReadLE<uint8_t>(s);
}
int8_t ReadI8(TStream& s) {
    return ReadLE<int8_t>(s);
}
uint16_t ReadU16(TStream& s) {
    return ReadLE<uint16_t>(s);
}
int16_t ReadI16(TStream& s) {
    return ReadLE<int16_t>(s);
}
uint32_t ReadU32(TStream& s) {
    return ReadLE<uint32_t>(s);
}
int32_t ReadI32(TStream& s) {
    return ReadLE<int32_t>(s);
}
uint64_t ReadU64(TStream& s) {
    return ReadLE<uint64_t>(s);
}
int64_t ReadI64(TStream& s) {
    return ReadLE<int64_t>(s);
}
bool ReadBool(TStream& s) {
    return ReadU8(s) != 0;
}

std::vector<uint8_t> ReadBytes(TStream& s, int64_t count) {
    CheckLength(s, count, "a block");
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    s.ReadBuffer(bytes.data(), count);
    return bytes;
}

std::string ReadString(TStream& s) {
    const int32_t length = ReadI32(s);
    CheckLength(s, length, "a string");
    std::string text(static_cast<size_t>(length), '\0');
    s.ReadBuffer(text.data(), length);
    return text;
}

long double ReadExtended(TStream& s) {
    Extended80 bytes;
    s.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return ExtendedToLongDouble(bytes);
}

void WriteU8(TStream& s, uint8_t v) {
    WriteLE(s, v);
}
void WriteI8(TStream& s, int8_t v) {
    WriteLE(s, v);
}
void WriteU16(TStream& s, uint16_t v) {
    WriteLE(s, v);
}
void WriteI16(TStream& s, int16_t v) {
    WriteLE(s, v);
}
void WriteU32(TStream& s, uint32_t v) {
    WriteLE(s, v);
}
void WriteI32(TStream& s, int32_t v) {
    WriteLE(s, v);
}
void WriteU64(TStream& s, uint64_t v) {
    WriteLE(s, v);
}
void WriteI64(TStream& s, int64_t v) {
    WriteLE(s, v);
}
void WriteBool(TStream& s, bool v) {
    WriteU8(s, v ? 1 : 0);
}

void WriteString(TStream& s, std::string_view v) {
    WriteI32(s, static_cast<int32_t>(v.size()));
    s.WriteBuffer(v.data(), static_cast<int64_t>(v.size()));
}

void WriteExtended(TStream& s, long double v) {
    const Extended80 bytes = LongDoubleToExtended(v);
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

}  // namespace tova
