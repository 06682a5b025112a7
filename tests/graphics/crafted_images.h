// Image files made byte by byte for the tests of damaged and hostile
// images: layered images whose layers carry whatever colour and alpha
// blocks a test gives (also none), and grey JPEGs straight from libjpeg,
// progressive ones with their last scan repeated.
#pragma once

#include <jpeglib.h>

#include <cstdint>
#include <cstdlib>
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

// A grey JPEG of width x height (all one grey). A progressive one has the
// six scans of libjpeg's simple progression, its last one repeated until
// it has `scans`.
inline std::vector<uint8_t> GreyJpeg(int32_t width, int32_t height, bool progressive, int scans = 6) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width), 128);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows = row.data();
        jpeg_write_scanlines(&info, &rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    if (!progressive || scans <= 6) return bytes;
    // The last scan runs from the last start-of-scan marker to the end-of-image
    // marker (entropy-coded data holds no 0xFF 0xDA).
    size_t last = bytes.size() - 2;
    while (last > 0 && !(bytes[last] == 0xFF && bytes[last + 1] == 0xDA))
        --last;
    const std::vector<uint8_t> scan(bytes.begin() + static_cast<ptrdiff_t>(last), bytes.end() - 2);
    bytes.resize(bytes.size() - 2);
    for (int i = 6; i < scans; ++i)
        bytes.insert(bytes.end(), scan.begin(), scan.end());
    bytes.insert(bytes.end(), {0xFF, 0xD9});
    return bytes;
}

}  // namespace tova::test
