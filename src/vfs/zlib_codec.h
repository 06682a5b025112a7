// zlib streams of archive entries: deflate at the fastest level (zlib),
// inflate with a bound on the output (libdeflate, faster on whole buffers),
// and the standard CRC-32 (zlib).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/stream.h"

namespace tova {

// The ceiling of the player's reads: no game file read into memory is
// anywhere near it (files of 5 MiB and more are stored, not deflated), so a
// larger result means damaged or hostile data. Callers with a better idea
// (the extraction's size budget) pass their own limit.
constexpr int64_t kMaxInflatedSize = int64_t{256} << 20;

std::vector<uint8_t> DeflateBytes(std::span<const uint8_t> plain);
// The inflated bytes, or nullopt when they would pass maxSize; throws
// ETovaError on a damaged stream.
std::optional<std::vector<uint8_t>> InflateWithin(std::span<const uint8_t> packed, int64_t maxSize);
// Throws ETovaError on a damaged stream or when the output would pass maxSize.
std::vector<uint8_t> InflateBytes(std::span<const uint8_t> packed, int64_t maxSize = kMaxInflatedSize);
// Inflates into out (replacing its content, keeping its capacity). A hint,
// the plain size the same bytes gave before, lets the output be sized
// exactly and filled in place; a wrong hint only costs the general path.
// Returns the plain size. Throws as InflateBytes.
size_t InflateInto(std::span<const uint8_t> packed, std::vector<uint8_t>& out, size_t hint,
                   int64_t maxSize = kMaxInflatedSize);
// Replaces the content of the memory stream by its inflated form, position 0.
void InflateInPlace(TTpMemoryStream& stream, int64_t maxSize = kMaxInflatedSize);

uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc = 0);
// The CRC of the whole stream, read from position 0 in 1 MiB chunks.
uint32_t Crc32OfStream(TStream& stream);

}  // namespace tova
