// Reading layered images: the header, the frames and their layers, and the
// decoding of each layer's colour and alpha data.
#include <string>

#include "core/binary_io.h"
#include "core/error.h"
#include "graphics/brio_compose.h"
#include "graphics/brio_image.h"
#include "graphics/brio_planes.h"
#include "graphics/brio_records.h"
#include "graphics/image_codecs.h"

namespace tova {
namespace {

[[noreturn]] void Damaged(const std::string& what) {
    throw ETovaError("damaged image: " + what);
}

int32_t CheckedCount(int32_t count, TStream& s, int64_t minBytesEach, const char* what) {
    if (count < 0 || count > s.Remaining() / minBytesEach)
        Damaged(std::string(what) + " count " + std::to_string(count) + " does not fit in what is left");
    return count;
}

std::vector<uint8_t> ReadBlock(TStream& s, const char* what) {
    const int32_t size = ReadI32(s);
    if (size < 0 || size > s.Remaining())
        Damaged(std::string(what) + " of " + std::to_string(size) + " bytes does not fit in what is left");
    return ReadBytes(s, size);
}

class TBrioReader {
public:
    TBrioReader(TBrioFrameList& list, TStream& stream)
        : list_(list), s_(stream), io_(stream, TBrioFieldIO::TMode::Read) {}

    void Read(TBrioLoadPart part) {
        TBrioHeaderRecord h;
        VisitBrioHeader(io_, h);
        if (h.Version > brio::kWrittenVersion) Damaged("unknown version " + std::to_string(h.Version));
        list_.Version = h.Version;
        list_.BackgroundColor = h.BackgroundColor;
        list_.Flag = h.Flag;
        if (h.Version >= brio::kHeaderRecord) {
            if (h.Compression > 2) Damaged("unknown compression " + std::to_string(h.Compression));
            list_.Compression = static_cast<TBrioCompression>(h.Compression);
            list_.Scrambled = h.Scrambled;
            list_.TileWidth = h.TileWidth;
            list_.TileHeight = h.TileHeight;
            list_.JpegQuality = h.JpegQuality;
        }
        if (list_.Scrambled && list_.ImageKey == 0) throw ETovaError(ImageKeyMissingMessage());
        const int32_t count = CheckedCount(h.FrameCount, s_, 33, "frame");
        for (int32_t f = 0; f < count; ++f) {
            ReadFrame(f);
            if (part == TBrioLoadPart::FirstFrame) break;
        }
    }

private:
    bool Tiled() const {
        return list_.Version >= brio::kHeaderRecord && list_.TileWidth > 0 && list_.TileHeight > 0 &&
               list_.Compression != TBrioCompression::Jpeg;
    }

    void ReadFrame(int32_t index) {
        TBrioFrameRecord r;
        VisitBrioFrame(io_, r);
        CheckImageSize(r.Width, r.Height, list_.MaxTotalPixels);
        if (r.Bpp != 1 && r.Bpp != 4 && r.Bpp != 8 && r.Bpp != 24 && r.Bpp != 32)
            Damaged("a frame of " + std::to_string(r.Bpp) + " bits per pixel");
        framePixels_ += static_cast<int64_t>(r.Width) * r.Height;
        if (framePixels_ > list_.MaxTotalPixels) Damaged("the frames hold more pixels than an image may");
        TBrioFrame& frame = list_.AddFrame();
        frame.Name = r.Name;
        frame.TransparentIndex = r.TransparentIndex;
        frame.Delay = r.Delay;
        frame.Bpp = r.Bpp;
        const int32_t layerCount = CheckedCount(r.LayerCount, s_, 25, "layer");
        if (r.Bpp <= 8) {
            const int entries = 1 << r.Bpp;
            const std::vector<uint8_t> palette = ReadBytes(s_, int64_t{4} * entries);
            frame.Palette.resize(static_cast<size_t>(entries));
            for (int i = 0; i < entries; ++i)
                frame.Palette[static_cast<size_t>(i)] = LoadLE32(&palette[4 * i]) & 0x00FFFFFFu;
        }
        for (int32_t l = 0; l < layerCount; ++l)
            ReadLayer(frame, index, l, r);
        if (list_.Version >= brio::kRectLists) {
            ReadRects(frame.RectsA);
            ReadRects(frame.RectsB);
        }
        ComposeBrioFrame(frame, r.Width, r.Height, list_.BackgroundColor, list_.Flag != 0);
    }

    void ReadRects(std::vector<TRect>& rects) {
        const int32_t count = CheckedCount(ReadI32(s_), s_, 16, "rectangle");
        rects.resize(static_cast<size_t>(count));
        for (TRect& r : rects) {
            r.Left = ReadI32(s_);
            r.Top = ReadI32(s_);
            r.Right = ReadI32(s_);
            r.Bottom = ReadI32(s_);
        }
    }

    void ReadLayer(TBrioFrame& frame, int32_t frameIndex, int32_t layerIndex, const TBrioFrameRecord& r) {
        TBrioLayerRecord record;
        VisitBrioLayer(io_, list_.Version, record);
        auto layer = std::make_unique<TBrioLayer>(&frame);
        layer->Name = record.Name;
        layer->Visible = record.Visible;
        layer->TransparentColor = record.TransparentColor;
        layer->Opacity = record.Opacity;
        layer->AlphaOn = record.AlphaOn;
        const std::vector<uint8_t> colour = ReadBlock(s_, "colour data");
        std::vector<uint8_t> alpha;
        if (list_.Version >= brio::kAlphaData) alpha = ReadBlock(s_, "alpha data");
        // Files older than the alpha-on flag use every alpha plane they have.
        if (list_.Version < brio::kAlphaOnFlag) layer->AlphaOn = !alpha.empty();
        layerPixels_ += static_cast<int64_t>(r.Width) * r.Height * (alpha.empty() ? 1 : 2);
        if (layerPixels_ > 2 * list_.MaxTotalPixels) Damaged("the layers hold more pixels than an image may");

        layer->Picture.Resize(r.Bpp, r.Width, r.Height);
        const TBrioPlaneLookup lookupColour = [&](int32_t a, int32_t b) {
            const TBrioLayer& other = Referenced(a, b, frameIndex, layerIndex);
            const TBrioPicture& p = other.Pixels();
            return TBrioPlaneIn{p.Bpp, p.IsPalette() ? &p.Indices : nullptr,
                                p.IsPalette() ? nullptr : &p.Colour};
        };
        if (!colour.empty()) {
            TBrioPlaneOut plane{r.Bpp, layer->Picture.IsPalette() ? &layer->Picture.Indices : nullptr,
                                layer->Picture.IsPalette() ? nullptr : &layer->Picture.Colour};
            if (list_.Compression == TBrioCompression::Jpeg && list_.Version >= brio::kHeaderRecord)
                DecodeJpegLayer(colour, *layer);
            else
                DecodePlane(colour, plane, list_.Compression == TBrioCompression::Zlib, lookupColour);
        }
        if (!alpha.empty()) {
            layer->HasAlpha = true;
            layer->Alpha.Resize(r.Width, r.Height);
            const TBrioPlaneLookup lookupAlpha = [&](int32_t a, int32_t b) {
                const TBrioLayer& other = Referenced(a, b, frameIndex, layerIndex);
                if (!other.HasAlpha) Damaged("a tile refers to a layer without an alpha plane");
                return TBrioPlaneIn{8, &other.Alpha, nullptr};
            };
            DecodePlane(alpha, TBrioPlaneOut{8, &layer->Alpha, nullptr},
                        list_.Compression != TBrioCompression::None, lookupAlpha);
        }
        frame.Layers.push_back(std::move(layer));
    }

    const TBrioLayer& Referenced(int32_t a, int32_t b, int32_t frameIndex, int32_t layerIndex) const {
        const bool earlier = a >= 0 && (a < frameIndex || (a == frameIndex && b >= 0 && b < layerIndex));
        if (!earlier || a >= list_.Count() || b < 0 ||
            b >= static_cast<int32_t>(list_.Frames[static_cast<size_t>(a)]->Layers.size()))
            Damaged("a tile refers to layer " + std::to_string(b) + " of frame " + std::to_string(a) +
                    ", which is not an earlier layer");
        return *list_.Frames[static_cast<size_t>(a)]->Layers[static_cast<size_t>(b)];
    }

    void DecodePlane(const std::vector<uint8_t>& block, TBrioPlaneOut plane, bool compressed,
                     const TBrioPlaneLookup& lookup) {
        const bool tiled = Tiled();
        const TBrioTiling tiling{list_.TileWidth, list_.TileHeight};
        std::optional<uint32_t> key;
        if (list_.Scrambled && list_.Compression != TBrioCompression::Jpeg) key = list_.ImageKey;
        // Plain 32-bit rows laid out as the surface holds them inflate in place.
        const int64_t plainSize = BrioPlainSize(plane.Bpp, plane.Width(), plane.Height());
        if (compressed && !tiled && !key && plane.Colour && plane.Bpp == 32 && plainSize > 0 &&
            int64_t{plane.Colour->Stride()} * 4 == BrioRowStride(32, plane.Width())) {
            InflateExactInto(
                block, {reinterpret_cast<uint8_t*>(plane.Colour->Data()), static_cast<size_t>(plainSize)});
            TPixel32* pixels = plane.Colour->Data();
            for (int64_t i = 0; i < plainSize / 4; ++i)
                pixels[i] &= 0x00FFFFFFu;
            return;
        }
        std::vector<uint8_t> inflated;
        std::span<const uint8_t> data = block;
        if (compressed) {
            inflated = tiled ? InflateAtMost(block, static_cast<size_t>(BrioTiledMaxSize(
                                                        plane.Bpp, plane.Width(), plane.Height(), tiling)))
                             : InflateExact(block, static_cast<size_t>(BrioPlainSize(plane.Bpp, plane.Width(),
                                                                                     plane.Height())));
            data = inflated;
        }
        if (tiled)
            DecodeBrioTiles(data, plane, tiling, key, lookup);
        else
            DecodeBrioPlain(data, plane, key);
    }

    void DecodeJpegLayer(const std::vector<uint8_t>& block, TBrioLayer& layer) {
        if (layer.Picture.IsPalette()) Damaged("JPEG data in a palette frame");
        TDecodedImage jpeg = DecodeJpeg(block, list_.MaxTotalPixels);
        if (jpeg.Colour.Width() != layer.Picture.Width() || jpeg.Colour.Height() != layer.Picture.Height())
            Damaged("JPEG data of another size than its frame");
        layer.Picture.Colour = std::move(jpeg.Colour);
    }

    TBrioFrameList& list_;
    TStream& s_;
    TBrioFieldIO io_;
    int64_t framePixels_ = 0;
    int64_t layerPixels_ = 0;
};

}  // namespace

std::string ImageKeyMissingMessage() {
    return SysText("識別コードを設定してください");
}

void TBrioFrameList::LoadFromStream(TStream& stream, TBrioLoadPart part) {
    Clear();
    Version = 0;
    Scrambled = false;
    Compression = TBrioCompression::Zlib;
    TileWidth = TileHeight = 0;
    JpegQuality = 0;
    TBrioReader(*this, stream).Read(part);
}

}  // namespace tova
