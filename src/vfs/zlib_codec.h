// zlib streams of archive entries: deflate at the fastest level (zlib),
// inflate whole buffers with a bound on the output (libdeflate, faster
// there) or piece by piece with memory that does not grow with the stream
// (zlib), and the standard CRC-32 (zlib).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/stream.h"

namespace tova {

// The ceiling of reads into memory: no game file read into memory is
// anywhere near it (files of 5 MiB and more are stored, not deflated), so a
// larger result means damaged or hostile data. Readers that hand the plain
// bytes on piece by piece (TPieceInflater) hold none of them and need no
// ceiling of their own; callers with a better idea pass their own limit.
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

// The plain bytes of a stream read piece by piece, handed on as they come.
using TPieceSink = std::function<void(std::span<const uint8_t>)>;

// Inflates one zlib stream fed in pieces and hands the plain bytes on in
// pieces of at most kPieceSize bytes, so memory stays at zlib's state, its
// window and one piece whatever the stream inflates to (entries too large
// to hold, and bombs, cost time in proportion to the archive only: deflate
// expands at most about a thousandfold).
class TPieceInflater {
public:
    static constexpr size_t kPieceSize = 1000000;

    TPieceInflater();
    ~TPieceInflater();
    TPieceInflater(const TPieceInflater&) = delete;
    TPieceInflater& operator=(const TPieceInflater&) = delete;

    // Inflates the next packed bytes, handing every plain piece to sink
    // (which may throw to stop). Returns true once the stream has ended;
    // bytes after its end are ignored, as the whole-buffer inflate does.
    // Throws ETovaError on a damaged stream.
    bool Feed(std::span<const uint8_t> packed, const TPieceSink& sink);
    // After the last Feed: throws ETovaError when the stream did not end.
    void Finish() const;
    // Starts over on a new stream, keeping the memory already made.
    void Reset();

private:
    struct TState;
    std::unique_ptr<TState> state_;
};

uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc = 0);
// The CRC of the whole stream, read from position 0 in 1 MiB chunks.
uint32_t Crc32OfStream(TStream& stream);

}  // namespace tova
