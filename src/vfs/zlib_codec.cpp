#include "vfs/zlib_codec.h"

#define ZLIB_CONST
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>

#include "core/error.h"

namespace tova {

namespace {

constexpr size_t kFirstGuessMin = 64 * 1024;
constexpr size_t kFirstGuessMax = 64 * 1024 * 1024;
constexpr int64_t kCrcChunk = int64_t{1} << 20;

}  // namespace

std::vector<uint8_t> DeflateBytes(std::span<const uint8_t> plain) {
    std::vector<uint8_t> out(compressBound(static_cast<uLong>(plain.size())));
    uLongf outSize = static_cast<uLongf>(out.size());
    const int ret =
        compress2(out.data(), &outSize, plain.data(), static_cast<uLong>(plain.size()), Z_BEST_SPEED);
    if (ret != Z_OK) throw ETovaError("zlib deflate failed: " + std::to_string(ret));
    out.resize(outSize);
    return out;
}

namespace {

// One decompressor and one scratch buffer per thread: range streams and
// media decoders may inflate on their own threads. The scratch is not
// cleared between uses, so a small entry costs no zero-filled buffer; one
// grown past kKeptScratch is given back after the call.
constexpr size_t kKeptScratch = size_t{8} << 20;

struct TInflater {
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    std::unique_ptr<uint8_t[]> scratch;
    size_t capacity = 0;

    ~TInflater() { libdeflate_free_decompressor(decompressor); }
    uint8_t* Reserve(size_t size) {
        if (size > capacity) {
            scratch.reset(new uint8_t[size]);
            capacity = size;
        }
        return scratch.get();
    }
    void Trim() {
        if (capacity <= kKeptScratch) return;
        scratch.reset();
        capacity = 0;
    }
};

TInflater& ThreadInflater() {
    thread_local TInflater inflater;
    if (inflater.decompressor == nullptr) throw ETovaError("libdeflate could not start");
    return inflater;
}

// What zlib says about a stream libdeflate refused (libdeflate only says
// "bad data"): the message is worth the second pass on this rare path.
std::string ZlibDiagnosis(std::span<const uint8_t> packed) {
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return "invalid data";
    std::vector<uint8_t> sink(64 * 1024);
    zs.next_in = packed.data();
    zs.avail_in = static_cast<uInt>(std::min<size_t>(packed.size(), std::numeric_limits<uInt>::max()));
    int ret = Z_OK;
    do {
        zs.next_out = sink.data();
        zs.avail_out = static_cast<uInt>(sink.size());
        ret = inflate(&zs, Z_NO_FLUSH);
    } while (ret == Z_OK && zs.avail_out == 0);
    std::string message = zs.msg != nullptr                   ? zs.msg
                          : ret == Z_NEED_DICT                ? "needs a preset dictionary"
                          : ret == Z_OK || ret == Z_BUF_ERROR ? "unexpected end of stream"
                                                              : "invalid data";
    inflateEnd(&zs);
    return message;
}

}  // namespace

// Archive entries do not record their plain size, so the output starts at
// a guess from the input and grows fourfold on "insufficient space" (each
// retry starts over, so the retries cost at most a third more), never
// beyond maxSize: filling exactly maxSize and still lacking room is enough
// to know the entry is too large.
std::optional<std::vector<uint8_t>> InflateWithin(std::span<const uint8_t> packed, int64_t maxSize) {
    TInflater& inflater = ThreadInflater();
    const size_t allowed =
        static_cast<size_t>(std::clamp<int64_t>(maxSize, 0, static_cast<int64_t>(SIZE_MAX / 8)));
    const size_t guess = packed.size() > kFirstGuessMax / 8 ? kFirstGuessMax : packed.size() * 8;
    size_t room = std::min(allowed, std::clamp(guess, kFirstGuessMin, kFirstGuessMax));
    for (;;) {
        uint8_t* out = inflater.Reserve(std::max<size_t>(room, 1));
        size_t produced = 0;
        const libdeflate_result result = libdeflate_zlib_decompress(inflater.decompressor, packed.data(),
                                                                    packed.size(), out, room, &produced);
        if (result == LIBDEFLATE_SUCCESS) {
            std::vector<uint8_t> bytes(out, out + produced);
            inflater.Trim();
            return bytes;
        }
        if (result != LIBDEFLATE_INSUFFICIENT_SPACE) {
            inflater.Trim();
            throw ETovaError("damaged zlib stream: " + ZlibDiagnosis(packed));
        }
        if (room >= allowed) {
            inflater.Trim();
            return std::nullopt;
        }
        room = room > allowed / 4 ? allowed : room * 4;
    }
}

std::vector<uint8_t> InflateBytes(std::span<const uint8_t> packed, int64_t maxSize) {
    std::optional<std::vector<uint8_t>> plain = InflateWithin(packed, maxSize);
    if (!plain)
        throw ETovaError("entry inflates to more than " + std::to_string(std::max<int64_t>(0, maxSize)) +
                         " bytes");
    return std::move(*plain);
}

size_t InflateInto(std::span<const uint8_t> packed, std::vector<uint8_t>& out, size_t hint, int64_t maxSize) {
    if (hint > 0 && static_cast<int64_t>(hint) <= maxSize) {
        out.resize(hint);
        size_t produced = 0;
        if (libdeflate_zlib_decompress(ThreadInflater().decompressor, packed.data(), packed.size(),
                                       out.data(), hint, &produced) == LIBDEFLATE_SUCCESS) {
            out.resize(produced);
            return produced;
        }
    }
    out = InflateBytes(packed, maxSize);
    return out.size();
}

void InflateInPlace(TTpMemoryStream& stream, int64_t maxSize) {
    stream.Assign(InflateBytes(stream.Bytes(), maxSize));
}

struct TPieceInflater::TState {
    z_stream zs{};
    std::unique_ptr<uint8_t[]> piece;  // not cleared: only what inflate wrote is handed on
    bool ended = false;
    // The last inflate stopped for want of input, not of room: no plain
    // bytes are pending inside zlib.
    bool drained = true;
};

TPieceInflater::TPieceInflater() : state_(std::make_unique<TState>()) {
    if (inflateInit(&state_->zs) != Z_OK) throw ETovaError("zlib could not start");
}

TPieceInflater::~TPieceInflater() {
    inflateEnd(&state_->zs);
}

bool TPieceInflater::Feed(std::span<const uint8_t> packed, const TPieceSink& sink) {
    TState& state = *state_;
    z_stream& zs = state.zs;
    while (!state.ended) {
        // zlib counts in 32 bits: a larger piece goes in in parts.
        if (zs.avail_in == 0 && !packed.empty()) {
            const size_t take = std::min<size_t>(packed.size(), std::numeric_limits<uInt>::max());
            zs.next_in = packed.data();
            zs.avail_in = static_cast<uInt>(take);
            packed = packed.subspan(take);
        }
        if (zs.avail_in == 0 && state.drained) return false;
        // The piece is made on first use: an empty entry costs none.
        if (!state.piece) state.piece.reset(new uint8_t[kPieceSize]);
        zs.next_out = state.piece.get();
        zs.avail_out = static_cast<uInt>(kPieceSize);
        const int ret = inflate(&zs, Z_NO_FLUSH);
        const size_t produced = kPieceSize - zs.avail_out;
        state.drained = zs.avail_out != 0;
        if (ret == Z_STREAM_END) state.ended = true;
        if (ret != Z_OK && ret != Z_STREAM_END && ret != Z_BUF_ERROR)
            throw ETovaError(std::string("damaged zlib stream: ") + (zs.msg != nullptr ? zs.msg
                                                                     : ret == Z_NEED_DICT
                                                                         ? "needs a preset dictionary"
                                                                     : ret == Z_MEM_ERROR ? "out of memory"
                                                                                          : "invalid data"));
        if (produced > 0) sink(std::span<const uint8_t>(state.piece.get(), produced));
    }
    return true;
}

void TPieceInflater::Reset() {
    if (inflateReset(&state_->zs) != Z_OK) throw ETovaError("zlib could not start");
    state_->zs.avail_in = 0;
    state_->ended = false;
    state_->drained = true;
}

void TPieceInflater::Finish() const {
    if (!state_->ended) throw ETovaError("damaged zlib stream: unexpected end of stream");
}

uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc) {
    return static_cast<uint32_t>(crc32_z(crc, bytes.data(), bytes.size()));
}

uint32_t Crc32OfStream(TStream& stream) {
    stream.SetPosition(0);
    std::vector<uint8_t> buffer(
        static_cast<size_t>(std::min(kCrcChunk, std::max<int64_t>(1, stream.GetSize()))));
    uint32_t crc = 0;
    for (;;) {
        const int64_t got = stream.Read(buffer.data(), static_cast<int64_t>(buffer.size()));
        if (got <= 0) break;
        crc = Crc32(std::span(buffer.data(), static_cast<size_t>(got)), crc);
    }
    return crc;
}

}  // namespace tova
