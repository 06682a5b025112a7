// Writing layered images in the layout of any version from 100 to 106:
// plain or tiled data, zlib, uncompressed or JPEG colour, scrambled with
// the image key.
#include <string>

#include "core/binary_io.h"
#include "core/error.h"
#include "graphics/brio_image.h"
#include "graphics/brio_planes.h"
#include "graphics/brio_records.h"
#include "graphics/image_codecs.h"

namespace tova {
namespace {

TBrioPlaneIn PlaneOf(const TBrioPicture& p) {
    return {p.Bpp, p.IsPalette() ? &p.Indices : nullptr, p.IsPalette() ? nullptr : &p.Colour};
}

class TBrioWriter {
public:
    TBrioWriter(const TBrioFrameList& list, TStream& stream, const TBrioWriteOptions& options)
        : list_(list), s_(stream), io_(stream, TBrioFieldIO::TMode::Write), options_(options) {
        const int v = options.Version;
        if (v < brio::kAlphaData || v > brio::kWrittenVersion)
            throw ETovaError("layered images are written in versions 100 to 106, not " + std::to_string(v));
        scrambled_ = list.ImageKey != 0;
        compression_ = scrambled_ ? TBrioCompression::None : options.Compression;
        tiling_ = {options.TileWidth, options.TileHeight};
        if (v < brio::kHeaderRecord &&
            (scrambled_ || compression_ != TBrioCompression::Zlib || tiling_.Enabled()))
            throw ETovaError(
                "version " + std::to_string(v) +
                " holds only plain zlib data: tiles, scrambling and other compressions need 103");
    }

    void Write() {
        TBrioHeaderRecord h;
        h.Version = options_.Version;
        if (!list_.Frames.empty()) {
            h.Width = list_.Frames[0]->Width();
            h.Height = list_.Frames[0]->Height();
            h.Bpp = list_.Frames[0]->Bpp;
        }
        h.FrameCount = list_.Count();
        h.Scrambled = scrambled_;
        h.Compression = static_cast<uint8_t>(compression_);
        h.BackgroundColor = list_.BackgroundColor;
        h.TileWidth = tiling_.TileWidth;
        h.TileHeight = tiling_.TileHeight;
        h.Flag = list_.Flag;
        h.JpegQuality = options_.JpegQuality;
        VisitBrioHeader(io_, h);
        for (int32_t f = 0; f < list_.Count(); ++f)
            WriteFrame(*list_.Frames[static_cast<size_t>(f)], f);
    }

private:
    void WriteFrame(const TBrioFrame& frame, int32_t index) {
        if (frame.Bpp != 1 && frame.Bpp != 4 && frame.Bpp != 8 && frame.Bpp != 24 && frame.Bpp != 32)
            throw ETovaError("a frame of " + std::to_string(frame.Bpp) + " bits per pixel cannot be written");
        // A frame without layers is written as one layer holding its picture.
        TBrioLayer standIn(nullptr);
        std::vector<const TBrioLayer*> layers;
        for (const auto& layer : frame.Layers)
            layers.push_back(layer.get());
        if (layers.empty()) {
            standIn.Name = "Layer";
            standIn.Picture = frame.Picture;  // (a frame made in memory)
            standIn.Alpha = frame.Mask;
            standIn.HasAlpha = frame.HasMask;
            standIn.AlphaOn = frame.HasMask;
            layers.push_back(&standIn);
        }
        TBrioFrameRecord r;
        r.Name = frame.Name;
        r.TransparentIndex = frame.TransparentIndex;
        r.Delay = frame.Delay;
        r.LayerCount = static_cast<int32_t>(layers.size());
        r.Width = layers[0]->Pixels().Width();
        r.Height = layers[0]->Pixels().Height();
        r.Bpp = frame.Bpp;
        VisitBrioFrame(io_, r);
        if (frame.Bpp <= 8) {
            const size_t entries = size_t{1} << frame.Bpp;
            if (frame.Palette.size() > entries) throw ETovaError("a palette larger than its depth allows");
            for (size_t i = 0; i < entries; ++i)
                WriteU32(s_, i < frame.Palette.size() ? frame.Palette[i] : 0u);
        }
        for (int32_t l = 0; l < r.LayerCount; ++l) {
            const TBrioLayer& layer = *layers[static_cast<size_t>(l)];
            if (layer.Pixels().Bpp != frame.Bpp || layer.Pixels().Width() != r.Width ||
                layer.Pixels().Height() != r.Height)
                throw ETovaError("every layer of a frame must have the frame's size and depth");
            WriteLayer(layer, index, l);
        }
        if (options_.Version >= brio::kRectLists) {
            for (const std::vector<TRect>* rects : {&frame.RectsA, &frame.RectsB}) {
                WriteI32(s_, static_cast<int32_t>(rects->size()));
                for (const TRect& rect : *rects)
                    for (int32_t v : {rect.Left, rect.Top, rect.Right, rect.Bottom})
                        WriteI32(s_, v);
            }
        }
    }

    void WriteLayer(const TBrioLayer& layer, int32_t frame, int32_t index) {
        TBrioLayerRecord r;
        r.Visible = layer.Visible;
        r.TransparentColor = layer.TransparentColor;
        r.Opacity = layer.Opacity;
        r.AlphaOn = layer.AlphaOn;
        r.Name = layer.Name;
        VisitBrioLayer(io_, options_.Version, r);
        std::vector<uint8_t> colour;
        if (compression_ == TBrioCompression::Jpeg) {
            if (layer.Pixels().IsPalette()) throw ETovaError("palette frames cannot hold JPEG data");
            colour = EncodeJpeg(layer.Pixels().Colour.View(), options_.JpegQuality);
        } else {
            colour = EncodePlane(PlaneOf(layer.Pixels()), colourPlanes_, frame, index,
                                 compression_ == TBrioCompression::Zlib);
        }
        colourPlanes_.push_back({frame, index, PlaneOf(layer.Pixels())});
        WriteBlock(colour);
        std::vector<uint8_t> alpha;
        if (layer.HasAlpha) {
            const TBrioPlaneIn plane{8, &layer.Alpha, nullptr};
            alpha = EncodePlane(plane, alphaPlanes_, frame, index, compression_ != TBrioCompression::None);
            alphaPlanes_.push_back({frame, index, plane});
        }
        WriteBlock(alpha);
    }

    std::vector<uint8_t> EncodePlane(TBrioPlaneIn plane, const std::vector<TBrioEarlierPlane>& earlier,
                                     int32_t frame, int32_t layer, bool compress) const {
        // JPEG files keep their alpha planes in plain rows.
        const bool tiled = tiling_.Enabled() && compression_ != TBrioCompression::Jpeg;
        std::optional<uint32_t> key;
        if (scrambled_) key = list_.ImageKey;
        std::vector<uint8_t> data =
            tiled ? EncodeBrioTiles(plane, tiling_, key, earlier, frame, layer) : EncodeBrioPlain(plane, key);
        return compress ? DeflateFast(data) : data;
    }

    void WriteBlock(const std::vector<uint8_t>& bytes) {
        WriteI32(s_, static_cast<int32_t>(bytes.size()));
        s_.WriteBuffer(bytes);
    }

    const TBrioFrameList& list_;
    TStream& s_;
    TBrioFieldIO io_;
    TBrioWriteOptions options_;
    bool scrambled_ = false;
    TBrioCompression compression_ = TBrioCompression::Zlib;
    TBrioTiling tiling_;
    std::vector<TBrioEarlierPlane> colourPlanes_;
    std::vector<TBrioEarlierPlane> alphaPlanes_;
};

}  // namespace

void TBrioFrameList::SaveToStream(TStream& stream, const TBrioWriteOptions& options) const {
    TBrioWriter(*this, stream, options).Write();
}

}  // namespace tova
