// Plain rows and tiles of layered-image planes. Stored rows hold palette
// indices packed most significant bits first (1, 4, 8 bits), or B, G, R
// (24 bits) or B, G, R, X (32 bits) per pixel.
#include "graphics/brio_planes.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>

#include "core/binary_io.h"
#include "core/error.h"
#include "core/random.h"

namespace tova {
namespace {

[[noreturn]] void Damaged(const std::string& what) {
    throw ETovaError("damaged image: " + what);
}

}  // namespace

// The generator's draws without replacement, found in a Fenwick tree of the
// items still in the pool, so that a table of millions of tiles costs
// n log n rather than n squared.
std::vector<int> BrioScrambleOrder(uint32_t key, int n) {
    TTpRandom random(key);
    std::vector<int> tree(static_cast<size_t>(n) + 1, 0);
    for (int i = 1; i <= n; ++i) {
        tree[static_cast<size_t>(i)] += 1;
        const int parent = i + (i & -i);
        if (parent <= n) tree[static_cast<size_t>(parent)] += tree[static_cast<size_t>(i)];
    }
    int top = 1;
    while (top * 2 <= n)
        top *= 2;
    std::vector<int> order(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        // The (x mod remaining)-th item still in the pool, counting from 0.
        int rank = static_cast<int>(static_cast<uint32_t>(random.Next()) % static_cast<uint32_t>(n - k));
        int pos = 0;
        for (int step = top; step > 0; step /= 2) {
            const int next = pos + step;
            if (next <= n && tree[static_cast<size_t>(next)] <= rank) {
                pos = next;
                rank -= tree[static_cast<size_t>(next)];
            }
        }
        order[static_cast<size_t>(k)] = pos;  // item pos is at tree index pos + 1
        for (int i = pos + 1; i <= n; i += i & -i)
            tree[static_cast<size_t>(i)] -= 1;
    }
    return order;
}

namespace {

std::vector<int> ScrambleOrder(uint32_t key, int n) {
    return BrioScrambleOrder(key, n);
}

void UnpackRow(const uint8_t* src, int32_t bpp, int32_t x0, int32_t count, TBrioPlaneOut plane, int32_t y) {
    if (count <= 0) return;  // a zero-width image has empty rows and no row memory
    if (plane.Colour) {
        TPixel32* dst = plane.Colour->Row(y) + x0;
        if (bpp == 32) {
            for (int32_t x = 0; x < count; ++x) {
                uint32_t v;
                std::memcpy(&v, src + 4 * x, 4);
                dst[x] = v & 0x00FFFFFFu;
            }
        } else {
            for (int32_t x = 0; x < count; ++x)
                dst[x] = src[3 * x] | static_cast<uint32_t>(src[3 * x + 1]) << 8 |
                         static_cast<uint32_t>(src[3 * x + 2]) << 16;
        }
        return;
    }
    uint8_t* dst = plane.Indices->Row(y) + x0;
    switch (bpp) {
        case 8:
            std::memcpy(dst, src, static_cast<size_t>(count));
            break;
        case 4:
            for (int32_t x = 0; x < count; ++x)
                dst[x] = static_cast<uint8_t>((src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
            break;
        default:
            for (int32_t x = 0; x < count; ++x)
                dst[x] = static_cast<uint8_t>((src[x >> 3] >> (7 - (x & 7))) & 1);
            break;
    }
}

void PackRow(TBrioPlaneIn plane, int32_t y, int32_t x0, int32_t count, uint8_t* dst) {
    if (count <= 0) return;  // a zero-width image has empty rows and no row memory
    const int32_t bpp = plane.Bpp;
    if (plane.Colour) {
        const TPixel32* src = plane.Colour->Row(y) + x0;
        const int step = bpp / 8;
        for (int32_t x = 0; x < count; ++x) {
            const uint32_t v = src[x];
            dst[step * x] = static_cast<uint8_t>(v);
            dst[step * x + 1] = static_cast<uint8_t>(v >> 8);
            dst[step * x + 2] = static_cast<uint8_t>(v >> 16);
            if (step == 4) dst[step * x + 3] = 0;
        }
        return;
    }
    const uint8_t* src = plane.Indices->Row(y) + x0;
    switch (bpp) {
        case 8:
            std::memcpy(dst, src, static_cast<size_t>(count));
            break;
        case 4:
            for (int32_t x = 0; x < count; ++x)
                dst[x >> 1] |= static_cast<uint8_t>((src[x] & 0xF) << ((x & 1) ? 0 : 4));
            break;
        default:
            for (int32_t x = 0; x < count; ++x)
                dst[x >> 3] |= static_cast<uint8_t>((src[x] & 1) << (7 - (x & 7)));
            break;
    }
}

// Copies a rectangle between planes of the same depth.
void CopyRegion(TBrioPlaneIn from, TBrioPlaneOut to, TRect rect) {
    for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
        if (to.Colour)
            std::copy_n(from.Colour->Row(y) + rect.Left, rect.Width(), to.Colour->Row(y) + rect.Left);
        else
            std::copy_n(from.Indices->Row(y) + rect.Left, rect.Width(), to.Indices->Row(y) + rect.Left);
    }
}

void CopyTileWithin(TBrioPlaneOut plane, TRect from, TRect to) {
    const int32_t w = std::min(from.Width(), to.Width());
    const int32_t h = std::min(from.Height(), to.Height());
    for (int32_t y = 0; y < h; ++y) {
        if (plane.Colour)
            std::copy_n(plane.Colour->Row(from.Top + y) + from.Left, w,
                        plane.Colour->Row(to.Top + y) + to.Left);
        else
            std::copy_n(plane.Indices->Row(from.Top + y) + from.Left, w,
                        plane.Indices->Row(to.Top + y) + to.Left);
    }
}

struct TTileGrid {
    int32_t Across;
    int32_t Down;
    int64_t RowBytes;
    int64_t TileBytes;
    TBrioTiling Tiling;
    int32_t Width;
    int32_t Height;

    int64_t Count() const { return static_cast<int64_t>(Across) * Down; }
    TRect Tile(int64_t i) const {
        const auto col = static_cast<int32_t>(i % Across);
        const auto row = static_cast<int32_t>(i / Across);
        return TRect::FromSize(col * Tiling.TileWidth, row * Tiling.TileHeight, Tiling.TileWidth,
                               Tiling.TileHeight)
            .Intersect({0, 0, Width, Height});
    }
};

TTileGrid MakeGrid(int32_t bpp, int32_t width, int32_t height, TBrioTiling tiling) {
    if (tiling.TileWidth > 16384 || tiling.TileHeight > 16384) Damaged("tile size out of range");
    TTileGrid g{};
    g.Tiling = tiling;
    g.Width = width;
    g.Height = height;
    g.Across = (width + tiling.TileWidth - 1) / tiling.TileWidth;
    g.Down = (height + tiling.TileHeight - 1) / tiling.TileHeight;
    g.RowBytes = (static_cast<int64_t>(bpp) * tiling.TileWidth + 7) / 8;
    g.TileBytes = g.RowBytes * tiling.TileHeight;
    // Padded tiles may not make the data much larger than the picture.
    const int64_t padded = static_cast<int64_t>(g.Across) * tiling.TileWidth * g.Down * tiling.TileHeight;
    if (padded > (int64_t{1} << 28) || g.Count() > (int64_t{1} << 22)) Damaged("too many or too large tiles");
    return g;
}

}  // namespace

int64_t BrioRowStride(int32_t bpp, int32_t width) {
    return (static_cast<int64_t>(bpp) * width + 31) / 32 * 4;
}

int64_t BrioPlainSize(int32_t bpp, int32_t width, int32_t height) {
    return BrioRowStride(bpp, width) * height;
}

int64_t BrioTiledMaxSize(int32_t bpp, int32_t width, int32_t height, TBrioTiling tiling) {
    const TTileGrid g = MakeGrid(bpp, width, height, tiling);
    return g.Count() * (8 + g.TileBytes);
}

void CheckBrioPlaneData(std::span<const uint8_t> data, int32_t bpp, int32_t width, int32_t height,
                        TBrioTiling tiling) {
    const auto size = static_cast<int64_t>(data.size());
    if (tiling.Enabled()) {
        const TTileGrid g = MakeGrid(bpp, width, height, tiling);
        if (size < g.Count() * 8) Damaged("the tile table is cut short");
        // Raw tiles are the only ones with rows in the data (the table's
        // order does not matter for counting them).
        int64_t raw = 0;
        for (int64_t i = 0; i < g.Count(); ++i)
            raw += static_cast<int32_t>(LoadLE32(data.data() + 8 * i)) == -1;
        if (size != g.Count() * 8 + raw * g.TileBytes)
            Damaged("tile data of " + std::to_string(size) + " bytes where " +
                    std::to_string(g.Count() * 8 + raw * g.TileBytes) + " are needed");
        return;
    }
    const int64_t needed = BrioPlainSize(bpp, width, height);
    if (size != needed)
        Damaged("rows of " + std::to_string(size) + " bytes where " + std::to_string(needed) + " are needed");
}

void DecodeBrioPlain(std::span<const uint8_t> data, TBrioPlaneOut plane,
                     std::optional<uint32_t> scrambleKey) {
    const int32_t h = plane.Height();
    const int64_t stride = BrioRowStride(plane.Bpp, plane.Width());
    CheckBrioPlaneData(data, plane.Bpp, plane.Width(), h, {});
    const std::vector<int> order = scrambleKey ? ScrambleOrder(*scrambleKey, h) : std::vector<int>{};
    for (int32_t i = 0; i < h; ++i)
        UnpackRow(data.data() + stride * i, plane.Bpp, 0, plane.Width(), plane, scrambleKey ? order[i] : i);
}

void DecodeBrioTiles(std::span<const uint8_t> data, TBrioPlaneOut plane, TBrioTiling tiling,
                     std::optional<uint32_t> scrambleKey, const TBrioPlaneLookup& lookup) {
    CheckBrioPlaneData(data, plane.Bpp, plane.Width(), plane.Height(), tiling);
    const TTileGrid g = MakeGrid(plane.Bpp, plane.Width(), plane.Height(), tiling);
    const int64_t n = g.Count();
    std::vector<std::pair<int32_t, int32_t>> table(static_cast<size_t>(n));
    const std::vector<int> order =
        scrambleKey ? ScrambleOrder(*scrambleKey, static_cast<int>(n)) : std::vector<int>{};
    for (int64_t i = 0; i < n; ++i) {
        const uint8_t* p = data.data() + 8 * i;
        table[static_cast<size_t>(scrambleKey ? order[i] : i)] = {static_cast<int32_t>(LoadLE32(p)),
                                                                  static_cast<int32_t>(LoadLE32(p + 4))};
    }
    int64_t pos = n * 8;
    for (int64_t t = 0; t < n; ++t) {
        const auto [a, b] = table[static_cast<size_t>(t)];
        const TRect rect = g.Tile(t);
        if (a == -1) {
            for (int32_t y = 0; y < rect.Height(); ++y)
                UnpackRow(data.data() + pos + g.RowBytes * y, plane.Bpp, rect.Left, rect.Width(), plane,
                          rect.Top + y);
            pos += g.TileBytes;
        } else if (a == -2) {
            if (b < 0 || b >= t)
                Damaged("tile " + std::to_string(t) + " refers to tile " + std::to_string(b));
            CopyTileWithin(plane, g.Tile(b), rect);
        } else {
            const TBrioPlaneIn other = lookup(a, b);
            if (other.Bpp != plane.Bpp || other.Width() != plane.Width() ||
                other.Height() != plane.Height() || (other.Colour == nullptr) != (plane.Colour == nullptr))
                Damaged("a tile refers to a layer of another size or depth");
            CopyRegion(other, plane, rect);
        }
    }
}

std::vector<uint8_t> EncodeBrioPlain(TBrioPlaneIn plane, std::optional<uint32_t> scrambleKey) {
    const int32_t h = plane.Height();
    const int64_t stride = BrioRowStride(plane.Bpp, plane.Width());
    std::vector<uint8_t> out(static_cast<size_t>(stride * h));
    const std::vector<int> order = scrambleKey ? ScrambleOrder(*scrambleKey, h) : std::vector<int>{};
    for (int32_t i = 0; i < h; ++i)
        PackRow(plane, scrambleKey ? order[i] : i, 0, plane.Width(), out.data() + stride * i);
    return out;
}

std::vector<uint8_t> EncodeBrioTiles(TBrioPlaneIn plane, TBrioTiling tiling,
                                     std::optional<uint32_t> scrambleKey,
                                     std::span<const TBrioEarlierPlane> earlier, int32_t thisFrame,
                                     int32_t thisLayer) {
    const TTileGrid g = MakeGrid(plane.Bpp, plane.Width(), plane.Height(), tiling);
    const int64_t n = g.Count();
    auto tileBytes = [&](TBrioPlaneIn from, int64_t t) {
        std::vector<uint8_t> bytes(static_cast<size_t>(g.TileBytes));
        const TRect rect = g.Tile(t);
        for (int32_t y = 0; y < rect.Height(); ++y)
            PackRow(from, rect.Top + y, rect.Left, rect.Width(), bytes.data() + g.RowBytes * y);
        return bytes;
    };
    auto sameShape = [&](TBrioPlaneIn other) {
        return other.Bpp == plane.Bpp && other.Width() == plane.Width() && other.Height() == plane.Height() &&
               (other.Colour == nullptr) == (plane.Colour == nullptr);
    };
    std::vector<std::pair<int32_t, int32_t>> table(static_cast<size_t>(n));
    std::vector<uint8_t> raw;
    std::unordered_map<std::string, int64_t> seen;  // a tile's bytes and size -> its first index
    for (int64_t t = 0; t < n; ++t) {
        const std::vector<uint8_t> bytes = tileBytes(plane, t);
        const TRect rect = g.Tile(t);
        std::string key(bytes.begin(), bytes.end());
        key += std::to_string(rect.Width()) + "x" + std::to_string(rect.Height());
        if (auto it = seen.find(key); it != seen.end()) {
            table[static_cast<size_t>(t)] = {-2, static_cast<int32_t>(it->second)};
            continue;
        }
        seen.emplace(std::move(key), t);
        bool shared = false;
        for (const TBrioEarlierPlane& other : earlier) {
            if (!sameShape(other.Plane) || (other.Frame == thisFrame && other.Layer >= thisLayer)) continue;
            if (tileBytes(other.Plane, t) == bytes) {
                table[static_cast<size_t>(t)] = {other.Frame, other.Layer};
                shared = true;
                break;
            }
        }
        if (shared) continue;
        table[static_cast<size_t>(t)] = {-1, 0};
        raw.insert(raw.end(), bytes.begin(), bytes.end());
    }
    std::vector<uint8_t> out(static_cast<size_t>(n * 8));
    const std::vector<int> order =
        scrambleKey ? ScrambleOrder(*scrambleKey, static_cast<int>(n)) : std::vector<int>{};
    for (int64_t i = 0; i < n; ++i) {
        const auto [a, b] = table[static_cast<size_t>(scrambleKey ? order[i] : i)];
        const uint32_t words[2] = {static_cast<uint32_t>(a), static_cast<uint32_t>(b)};
        for (int k = 0; k < 8; ++k)
            out[8 * i + k] = static_cast<uint8_t>(words[k / 4] >> (8 * (k % 4)));
    }
    out.insert(out.end(), raw.begin(), raw.end());
    return out;
}

}  // namespace tova
