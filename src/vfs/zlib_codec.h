// zlib streams of archive entries: deflate at the fastest level, inflate
// with a bound on the output, and the standard CRC-32.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/stream.h"

namespace tova {

// No entry is allowed to inflate to more than this: a larger result means
// damaged or hostile data, not a game file.
constexpr int64_t kMaxInflatedSize = int64_t{1} << 30;

std::vector<uint8_t> DeflateBytes(std::span<const uint8_t> plain);
// Throws ETovaError on a damaged stream or when the output would pass maxSize.
std::vector<uint8_t> InflateBytes(std::span<const uint8_t> packed, int64_t maxSize = kMaxInflatedSize);
// Replaces the content of the memory stream by its inflated form, position 0.
void InflateInPlace(TTpMemoryStream& stream, int64_t maxSize = kMaxInflatedSize);

uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc = 0);
// The CRC of the whole stream, read from position 0 in 1 MiB chunks.
uint32_t Crc32OfStream(TStream& stream);

}  // namespace tova
