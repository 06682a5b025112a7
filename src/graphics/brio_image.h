// Layered, multi-frame images (".brz"): a list of frames, each composed of
// layers with colour data and an optional 8-bit alpha plane. TBrioFrameList
// reads them (and PNG, BMP and DIB files through the same entry point) into
// frames of 32-bit colour surfaces with optional masks, and writes them back
// in any of the layouts from version 100 to 106.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/stream.h"
#include "graphics/image_budget.h"
#include "graphics/surface.h"

namespace tova {

// Version thresholds of the stored records, shared by reader and writer.
namespace brio {
constexpr int kAlphaData = 100;     // layers carry an alpha block
constexpr int kAlphaOnFlag = 101;   // layers carry the alpha-on flag
constexpr int kBackground = 102;    // the short header carries the background colour
constexpr int kHeaderRecord = 103;  // the 40-byte header record; tiles, compression, scrambling
constexpr int kRectLists = 104;     // frames end with two rectangle lists
constexpr int kHeaderFlag = 105;    // the header's flag byte is kept
constexpr int kWrittenVersion = 106;
constexpr int kHeaderRecordSize = 40;
// The largest image the player accepts: each side, and all frames' pixels together.
constexpr int32_t kMaxSide = 16384;
constexpr int64_t kMaxTotalPixels = int64_t{1} << 28;
}  // namespace brio

enum class TBrioCompression : uint8_t { Zlib = 0, None = 1, Jpeg = 2 };

// Pixels at the depth they are stored with: palette indices (1, 4 or 8 bits
// per pixel, one index a byte here) or colours (24 or 32 bits, held as
// 0x00RRGGBB with the top byte 0).
struct TBrioPicture {
    int32_t Bpp = 32;
    TSurface8 Indices;
    TSurface32 Colour;

    bool IsPalette() const { return Bpp <= 8; }
    int32_t Width() const { return IsPalette() ? Indices.Width() : Colour.Width(); }
    int32_t Height() const { return IsPalette() ? Indices.Height() : Colour.Height(); }
    int64_t Bytes() const { return Indices.Bytes() + Colour.Bytes(); }
    void Resize(int32_t bpp, int32_t width, int32_t height);
    // The same, taking the new pixels' bytes from the budget and giving back the old.
    void Resize(int32_t bpp, int32_t width, int32_t height, TImageBudget& budget);
};

class TBrioFrame;

class TBrioLayer {
public:
    explicit TBrioLayer(TBrioFrame* owner) : owner_(owner) {}
    TBrioFrame* Owner() const { return owner_; }

    std::string Name;  // code page 932
    bool Visible = true;
    int32_t TransparentColor = -1;  // a Windows colour (0x00BBGGRR), -1 none
    int32_t Opacity = 255;
    bool AlphaOn = false;
    TBrioPicture Picture;  // at the frame's size and depth
    bool HasAlpha = false;
    TSurface8 Alpha;

    // The layer's pixels: its own picture, the frame's when loading moved
    // them there (a colour frame whose only drawn layer is copied), or the
    // blank that the layers without colour data of one size and depth share.
    const TBrioPicture& Pixels() const;
    void LendPictureToFrame();
    void ShareBlankPicture(std::shared_ptr<const TBrioPicture> blank);
    bool SharesBlankPicture() const { return blank_ != nullptr; }

private:
    TBrioFrame* owner_;
    bool lentToFrame_ = false;
    std::shared_ptr<const TBrioPicture> blank_;
};

class TBrioFrame {
public:
    std::string Name;  // code page 932
    int32_t TransparentIndex = -1;
    int32_t Delay = 100;
    int32_t Bpp = 32;
    std::vector<TPixel32> Palette;  // 2^bpp entries for palette frames
    std::vector<std::unique_ptr<TBrioLayer>> Layers;

    // The composed frame: palette indices (until converted) or colours.
    TBrioPicture Picture;
    bool HasMask = false;
    TSurface8 Mask;  // 0 transparent .. 255 opaque
    std::optional<TPixel32> TransparentColor;
    std::vector<TRect> RectsA;
    std::vector<TRect> RectsB;

    int32_t Width() const { return Picture.Width(); }
    int32_t Height() const { return Picture.Height(); }
    TBrioLayer& AddLayer();
    // Mask 0 wherever a pixel has the transparent index, in the frame and in
    // each layer (a layer without an alpha plane gets one).
    void BuildMaskFromTransparentIndex(TImageBudget& budget);
    // Palette frames become 32-bit colour surfaces; the frame's transparent
    // colour is the colour of the first pixel that has the transparent index.
    void ConvertToColour(TImageBudget& budget);
};

struct TBrioWriteOptions {
    int Version = brio::kWrittenVersion;  // 100 .. 106
    TBrioCompression Compression = TBrioCompression::Zlib;
    int32_t TileWidth = 0;  // 0: plain rows
    int32_t TileHeight = 0;
    uint8_t JpegQuality = 90;
};

enum class TBrioLoadPart { AllFrames, FirstFrame };

class TBrioFrameList {
public:
    explicit TBrioFrameList(uint32_t imageKey = 0) : ImageKey(imageKey) {}

    int Version = 0;
    uint32_t BackgroundColor = 0;  // a Windows colour
    uint32_t ImageKey;
    uint8_t Flag = 0;
    int32_t TargetDepth = 0;  // 0: palette frames become 24-bit, else frames are converted to it
    // The most pixels the frames of one file may hold (the layers twice as many).
    int64_t MaxTotalPixels = brio::kMaxTotalPixels;
    // The memory loading may take, from reading the file to FinishLoad and
    // what the image cache makes of the frames; Clear gives it all back.
    TImageBudget Budget;
    // What the header said (for inspection tools).
    bool Scrambled = false;
    TBrioCompression Compression = TBrioCompression::Zlib;
    int32_t TileWidth = 0;
    int32_t TileHeight = 0;
    uint8_t JpegQuality = 0;

    std::vector<std::unique_ptr<TBrioFrame>> Frames;
    int Count() const { return static_cast<int>(Frames.size()); }
    TBrioFrame& AddFrame();
    void Clear() {
        Frames.clear();
        Budget.Reset();
    }

    // Reads a layered image from the stream's position; bad data throws
    // ETovaError. The frames keep their stored depth until FinishLoad.
    void LoadFromStream(TStream& stream, TBrioLoadPart part = TBrioLoadPart::AllFrames);
    // Chooses the reader by the lower-case extension of the name: ".brz",
    // ".png", ".bmp" or ".dib"; the whole stream is the file. Other
    // extensions load nothing and give false.
    bool LoadFromFileData(std::string_view fileName, TStream& stream);
    void SaveToStream(TStream& stream, const TBrioWriteOptions& options = {}) const;

    // Makes the frames ready to draw: with buildMasks, masks from transparent
    // indices and colours; then the depth conversion.
    void FinishLoad(bool buildMasks);
};

// The message of a scrambled image read or written without a key.
std::string ImageKeyMissingMessage();

}  // namespace tova
