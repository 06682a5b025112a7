// Little-endian reading and writing of the stored forms every format uses:
// integers, one-byte booleans, raw bytes, the string with its int32 length
// prefix and the 10-byte extended real. Readers check every length against
// what is left in the stream and throw ETovaError instead of reading past it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/stream.h"

namespace tova {

uint8_t ReadU8(TStream& s);
int8_t ReadI8(TStream& s);
uint16_t ReadU16(TStream& s);
int16_t ReadI16(TStream& s);
uint32_t ReadU32(TStream& s);
int32_t ReadI32(TStream& s);
uint64_t ReadU64(TStream& s);
int64_t ReadI64(TStream& s);
bool ReadBool(TStream& s);
std::vector<uint8_t> ReadBytes(TStream& s, int64_t count);
std::string ReadString(TStream& s);
long double ReadExtended(TStream& s);

void WriteU8(TStream& s, uint8_t v);
void WriteI8(TStream& s, int8_t v);
void WriteU16(TStream& s, uint16_t v);
void WriteI16(TStream& s, int16_t v);
void WriteU32(TStream& s, uint32_t v);
void WriteI32(TStream& s, int32_t v);
void WriteU64(TStream& s, uint64_t v);
void WriteI64(TStream& s, int64_t v);
void WriteBool(TStream& s, bool v);
void WriteString(TStream& s, std::string_view v);
void WriteExtended(TStream& s, long double v);

// Little-endian values inside a byte buffer (the caller checks the bounds).
inline uint16_t LoadLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t LoadLE32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
inline uint64_t LoadLE64(const uint8_t* p) { return LoadLE32(p) | static_cast<uint64_t>(LoadLE32(p + 4)) << 32; }

}  // namespace tova
