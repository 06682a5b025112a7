// Reading layered images: the header, the frames and their layers, and the
// decoding of each layer's colour and alpha data.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>

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
        CheckImageSize(r.Width, r.Height, {.MaxPixels = list_.MaxTotalPixels});
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
        ComposeBrioFrame(frame, r.Width, r.Height, list_.BackgroundColor, list_.Flag != 0, list_.Budget);
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

        const TBrioPlaneLookup lookupColour = [&](int32_t a, int32_t b) {
            const TBrioLayer& other = Referenced(a, b, frameIndex, layerIndex);
            const TBrioPicture& p = other.Pixels();
            return TBrioPlaneIn{p.Bpp, p.IsPalette() ? &p.Indices : nullptr,
                                p.IsPalette() ? nullptr : &p.Colour};
        };
        if (colour.empty()) {
            layer->ShareBlankPicture(Blank(r.Bpp, r.Width, r.Height));
        } else if (list_.Compression == TBrioCompression::Jpeg && list_.Version >= brio::kHeaderRecord) {
            DecodeJpegLayer(colour, *layer, r);
        } else {
            TBrioPicture& picture = layer->Picture;
            const auto allocate = [&] {
                picture.Resize(r.Bpp, r.Width, r.Height, list_.Budget);
                return TBrioPlaneOut{r.Bpp, picture.IsPalette() ? &picture.Indices : nullptr,
                                     picture.IsPalette() ? nullptr : &picture.Colour};
            };
            DecodePlane(colour, r.Bpp, r.Width, r.Height, list_.Compression == TBrioCompression::Zlib,
                        allocate, lookupColour);
        }
        if (!alpha.empty()) {
            layer->HasAlpha = true;
            const TBrioPlaneLookup lookupAlpha = [&](int32_t a, int32_t b) {
                const TBrioLayer& other = Referenced(a, b, frameIndex, layerIndex);
                if (!other.HasAlpha) Damaged("a tile refers to a layer without an alpha plane");
                return TBrioPlaneIn{8, &other.Alpha, nullptr};
            };
            const auto allocate = [&] {
                list_.Budget.Resize(layer->Alpha, r.Width, r.Height);
                return TBrioPlaneOut{8, &layer->Alpha, nullptr};
            };
            DecodePlane(alpha, 8, r.Width, r.Height, list_.Compression != TBrioCompression::None, allocate,
                        lookupAlpha);
        }
        frame.Layers.push_back(std::move(layer));
    }

    // The picture of the layers without colour data: zero pixels, one for
    // every size and depth, shared by all of them.
    std::shared_ptr<const TBrioPicture> Blank(int32_t bpp, int32_t width, int32_t height) {
        std::shared_ptr<const TBrioPicture>& blank = blanks_[{bpp, width, height}];
        if (!blank) {
            auto picture = std::make_shared<TBrioPicture>();
            picture->Resize(bpp, width, height, list_.Budget);
            blank = std::move(picture);
        }
        return blank;
    }

    const TBrioLayer& Referenced(int32_t a, int32_t b, int32_t frameIndex, int32_t layerIndex) const {
        const bool earlier = a >= 0 && (a < frameIndex || (a == frameIndex && b >= 0 && b < layerIndex));
        if (!earlier || a >= list_.Count() || b < 0 ||
            b >= static_cast<int32_t>(list_.Frames[static_cast<size_t>(a)]->Layers.size()))
            Damaged("a tile refers to layer " + std::to_string(b) + " of frame " + std::to_string(a) +
                    ", which is not an earlier layer");
        return *list_.Frames[static_cast<size_t>(a)]->Layers[static_cast<size_t>(b)];
    }

    // Decodes a plane's block into the surfaces allocate() makes, calling it
    // only once the block has shown what it holds: inflated data is never
    // larger than the stream can give, and plain rows must all be there.
    void DecodePlane(const std::vector<uint8_t>& block, int32_t bpp, int32_t width, int32_t height,
                     bool compressed, const std::function<TBrioPlaneOut()>& allocate,
                     const TBrioPlaneLookup& lookup) {
        const bool tiled = Tiled();
        const TBrioTiling tiling = tiled ? TBrioTiling{list_.TileWidth, list_.TileHeight} : TBrioTiling{};
        std::optional<uint32_t> key;
        if (list_.Scrambled && list_.Compression != TBrioCompression::Jpeg) key = list_.ImageKey;
        // Plain 32-bit rows laid out as the surface holds them inflate in place.
        const int64_t plainSize = BrioPlainSize(bpp, width, height);
        if (compressed && !tiled && !key && bpp == 32 && plainSize > 0 &&
            TSurface32::BytesFor(width, 1) == BrioRowStride(32, width)) {
            if (plainSize > MaxInflatedSize(block.size())) Damaged("the compressed rows are too short");
            const TBrioPlaneOut plane = allocate();
            InflateExactInto(
                block, {reinterpret_cast<uint8_t*>(plane.Colour->Data()), static_cast<size_t>(plainSize)});
            TPixel32* pixels = plane.Colour->Data();
            for (int64_t i = 0; i < plainSize / 4; ++i)
                pixels[i] &= 0x00FFFFFFu;
            return;
        }
        TBudgetHold hold(list_.Budget);
        std::vector<uint8_t> inflated;
        std::span<const uint8_t> data = block;
        if (compressed) {
            inflated =
                tiled ? InflateAtMost(block,
                                      static_cast<size_t>(BrioTiledMaxSize(bpp, width, height, tiling)), hold)
                      : InflateExact(block, static_cast<size_t>(plainSize), hold);
            data = inflated;
        }
        CheckBrioPlaneData(data, bpp, width, height, tiling);
        const TBrioPlaneOut plane = allocate();
        if (tiled)
            DecodeBrioTiles(data, plane, tiling, key, lookup);
        else
            DecodeBrioPlain(data, plane, key);
    }

    void DecodeJpegLayer(const std::vector<uint8_t>& block, TBrioLayer& layer, const TBrioFrameRecord& r) {
        if (r.Bpp <= 8) Damaged("JPEG data in a palette frame");
        TDecodedImage jpeg = DecodeJpeg(block, {.MaxPixels = list_.MaxTotalPixels, .Budget = &list_.Budget});
        if (jpeg.Colour.Width() != r.Width || jpeg.Colour.Height() != r.Height)
            Damaged("JPEG data of another size than its frame");
        layer.Picture.Bpp = r.Bpp;
        layer.Picture.Colour = std::move(jpeg.Colour);
    }

    TBrioFrameList& list_;
    TStream& s_;
    TBrioFieldIO io_;
    int64_t framePixels_ = 0;
    int64_t layerPixels_ = 0;
    std::map<std::tuple<int32_t, int32_t, int32_t>, std::shared_ptr<const TBrioPicture>> blanks_;
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
