// The stored forms of one plane of a layered image (a layer's colour data or
// its alpha plane): plain rows or a tile table with raw and shared tiles,
// either of them optionally scrambled with the image key.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "graphics/surface.h"

namespace tova {

// A plane to fill: palette indices or an 8-bit alpha plane (Indices), or
// 24/32-bit colours (Colour). Exactly one pointer is set.
struct TBrioPlaneOut {
    int32_t Bpp = 8;
    TSurface8* Indices = nullptr;
    TSurface32* Colour = nullptr;
    int32_t Width() const { return Indices ? Indices->Width() : Colour->Width(); }
    int32_t Height() const { return Indices ? Indices->Height() : Colour->Height(); }
};

struct TBrioPlaneIn {
    int32_t Bpp = 8;
    const TSurface8* Indices = nullptr;
    const TSurface32* Colour = nullptr;
    int32_t Width() const { return Indices ? Indices->Width() : Colour->Width(); }
    int32_t Height() const { return Indices ? Indices->Height() : Colour->Height(); }
};

struct TBrioTiling {
    int32_t TileWidth = 0;
    int32_t TileHeight = 0;
    bool Enabled() const { return TileWidth > 0 && TileHeight > 0; }
};

// Resolves a tile reference into layer `layer` of frame `frame`: a plane
// already decoded, of the same size and depth; throws ETovaError otherwise.
using TBrioPlaneLookup = std::function<TBrioPlaneIn(int32_t frame, int32_t layer)>;
// The earlier planes a writer may share tiles with, as (frame, layer, plane).
struct TBrioEarlierPlane {
    int32_t Frame;
    int32_t Layer;
    TBrioPlaneIn Plane;
};

// The order a scrambled sequence of n items is stored in: stored item i is
// item [i] of the image (the image key's generator drawing from 0 .. n-1).
std::vector<int> BrioScrambleOrder(uint32_t key, int n);

// Bytes of one stored row of plain data (rows are padded to 4 bytes).
int64_t BrioRowStride(int32_t bpp, int32_t width);
// The exact size of plain rows, and the largest size tiled data may have.
int64_t BrioPlainSize(int32_t bpp, int32_t width, int32_t height);
int64_t BrioTiledMaxSize(int32_t bpp, int32_t width, int32_t height, TBrioTiling tiling);

// Whether data can be a plane of that size: plain rows must be exactly
// there, a tile table must fit; throws ETovaError. The decoders below check
// it first; a reader may check it before it allocates the plane.
void CheckBrioPlaneData(std::span<const uint8_t> data, int32_t bpp, int32_t width, int32_t height,
                        TBrioTiling tiling);

// Decoding checks every size and reference and throws ETovaError.
void DecodeBrioPlain(std::span<const uint8_t> data, TBrioPlaneOut plane, std::optional<uint32_t> scrambleKey);
void DecodeBrioTiles(std::span<const uint8_t> data, TBrioPlaneOut plane, TBrioTiling tiling,
                     std::optional<uint32_t> scrambleKey, const TBrioPlaneLookup& lookup);

std::vector<uint8_t> EncodeBrioPlain(TBrioPlaneIn plane, std::optional<uint32_t> scrambleKey);
// Equal tiles are shared: with an earlier tile of the same plane (-2) or
// with the tile at the same place in an earlier plane of the same size.
std::vector<uint8_t> EncodeBrioTiles(TBrioPlaneIn plane, TBrioTiling tiling,
                                     std::optional<uint32_t> scrambleKey,
                                     std::span<const TBrioEarlierPlane> earlier, int32_t thisFrame,
                                     int32_t thisLayer);

}  // namespace tova
