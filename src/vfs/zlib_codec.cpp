#include "vfs/zlib_codec.h"

#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <limits>
#include <string>

#include "core/error.h"

namespace tova {

namespace {

constexpr size_t kInflateChunk = 1000000;
constexpr size_t kFirstGuessMin = 64 * 1024;
constexpr size_t kFirstGuessMax = 64 * 1024 * 1024;
constexpr int64_t kCrcChunk = int64_t{1} << 20;
// zlib counts in uInt; larger inputs are fed in pieces of this size.
constexpr size_t kMaxZlibCount = std::numeric_limits<uInt>::max();

[[noreturn]] void ThrowDamaged(const z_stream& zs, const char* fallback) {
    throw ETovaError(std::string("damaged zlib stream: ") + (zs.msg != nullptr ? zs.msg : fallback));
}

// Ends the inflate state on every way out of InflateBytes.
struct TInflateGuard {
    z_stream* zs;
    ~TInflateGuard() { inflateEnd(zs); }
};

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

// The output grows geometrically from a guess based on the input, one
// inflate call filling at most one chunk, and never beyond maxSize + 1: one
// byte more than allowed is enough to know the entry is too large. The
// guess is bounded, so a small hostile input cannot make it allocate much.
std::vector<uint8_t> InflateBytes(std::span<const uint8_t> packed, int64_t maxSize) {
    const int64_t allowed = std::clamp<int64_t>(maxSize, 0, std::numeric_limits<int64_t>::max() - 1);
    const size_t limit =
        static_cast<size_t>(std::min<int64_t>(allowed + 1, static_cast<int64_t>(SIZE_MAX / 2)));

    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) throw ETovaError("zlib inflate could not start");
    TInflateGuard guard{&zs};

    const uint8_t* in = packed.data();
    size_t inLeft = packed.size();
    std::vector<uint8_t> out;
    const size_t guess = packed.size() > kFirstGuessMax / 4 ? kFirstGuessMax : packed.size() * 4;
    out.resize(std::min(limit, std::clamp(guess, kFirstGuessMin, kFirstGuessMax)));
    size_t produced = 0;
    for (;;) {
        if (produced == out.size()) {
            if (produced == limit) break;
            out.resize(std::min(limit, std::max(out.size() * 2, produced + kInflateChunk)));
        }
        if (zs.avail_in == 0 && inLeft > 0) {
            zs.next_in = in;
            zs.avail_in = static_cast<uInt>(std::min(inLeft, kMaxZlibCount));
            in += zs.avail_in;
            inLeft -= zs.avail_in;
        }
        const size_t room = std::min(out.size() - produced, kInflateChunk);
        zs.next_out = out.data() + produced;
        zs.avail_out = static_cast<uInt>(room);
        const int ret = inflate(&zs, Z_NO_FLUSH);
        produced += room - zs.avail_out;
        if (ret == Z_STREAM_END) break;
        if (ret == Z_NEED_DICT) ThrowDamaged(zs, "needs a preset dictionary");
        if (ret == Z_DATA_ERROR) ThrowDamaged(zs, "invalid data");
        if (ret == Z_MEM_ERROR) throw ETovaError("zlib inflate is out of memory");
        // Output room left over with all input taken: the stream was cut.
        if (zs.avail_out > 0 && zs.avail_in == 0 && inLeft == 0) ThrowDamaged(zs, "unexpected end of stream");
    }
    if (produced > static_cast<size_t>(allowed))
        throw ETovaError("entry inflates to more than " + std::to_string(allowed) + " bytes");
    out.resize(produced);
    return out;
}

void InflateInPlace(TTpMemoryStream& stream, int64_t maxSize) {
    stream.Assign(InflateBytes(stream.Bytes(), maxSize));
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
