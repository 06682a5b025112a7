// Image files made byte by byte for the tests of damaged and hostile
// images: layered images whose layers carry whatever colour and alpha
// blocks a test gives (also none).
#pragma once

#include <cstdint>
#include <vector>

#include "core/binary_io.h"
#include "graphics/brio_image.h"
#include "graphics/brio_records.h"

namespace tova::test {

struct TCraftedLayer {
    std::vector<uint8_t> Colour;  // the block as stored (empty: no colour data)
    std::vector<uint8_t> Alpha;
};

struct TCraftedImage {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Bpp = 32;
    TBrioCompression Compression = TBrioCompression::Zlib;
    int32_t TileWidth = 0;
    int32_t TileHeight = 0;
    std::vector<std::vector<TCraftedLayer>> Frames;  // each frame's layers
};

// A version 106 layered image of those frames, every one at the image's size and depth.
inline std::vector<uint8_t> CraftBrz(const TCraftedImage& image) {
    TTpMemoryStream s;
    TBrioFieldIO io(s, TBrioFieldIO::TMode::Write);
    TBrioHeaderRecord header;
    header.Version = brio::kWrittenVersion;
    header.Width = image.Width;
    header.Height = image.Height;
    header.Bpp = image.Bpp;
    header.FrameCount = static_cast<int32_t>(image.Frames.size());
    header.Compression = static_cast<uint8_t>(image.Compression);
    header.TileWidth = image.TileWidth;
    header.TileHeight = image.TileHeight;
    VisitBrioHeader(io, header);
    for (const std::vector<TCraftedLayer>& layers : image.Frames) {
        TBrioFrameRecord frame;
        frame.LayerCount = static_cast<int32_t>(layers.size());
        frame.Width = image.Width;
        frame.Height = image.Height;
        frame.Bpp = image.Bpp;
        VisitBrioFrame(io, frame);
        for (int i = 0; image.Bpp <= 8 && i < (1 << image.Bpp); ++i)
            WriteU32(s, 0);
        for (const TCraftedLayer& layer : layers) {
            TBrioLayerRecord record;
            VisitBrioLayer(io, header.Version, record);
            for (const std::vector<uint8_t>* block : {&layer.Colour, &layer.Alpha}) {
                WriteI32(s, static_cast<int32_t>(block->size()));
                s.WriteBuffer(*block);
            }
        }
        WriteI32(s, 0);  // the two rectangle lists
        WriteI32(s, 0);
    }
    return s.Bytes();
}

}  // namespace tova::test
