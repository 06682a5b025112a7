// Mouse cursors of a game: ".cur" files (an icon directory of one or more
// images with hot spots, each a PNG or a device-independent bitmap followed
// by its 1-bit transparency mask) and animated ".ani" files (a RIFF "ACON"
// list of such cursors with a display rate and an optional sequence). Our
// own reader; every size and offset is checked and damaged files throw
// ETovaError (the caller then shows the default arrow). A file is read at
// once for its steps and its frames' headers, but a frame's picture is
// decoded only when it is shown, so a file of many frames never holds them
// all decoded.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/surface.h"

namespace tova {

// Cursors are small: a picture of more pixels on either side, or an
// animation of more frames, is damage.
constexpr int32_t kMaxCursorSide = 256;
constexpr int32_t kMaxCursorFrames = 256;

struct TCursorImage {
    TSurface32 Colour;  // 0x00RRGGBB
    TSurface8 Alpha;    // 0 transparent .. 255 opaque
    int32_t HotX = 0;
    int32_t HotY = 0;
};

class TCursorFileReader;

class TCursorAnimation {
public:
    // The steps: which frame shows, and for how long in 1/60 s ("jiffies").
    // A still cursor has one step.
    std::vector<int32_t> Sequence;
    std::vector<int32_t> Jiffies;

    int32_t FrameCount() const { return static_cast<int32_t>(frames_.size()); }
    // Decodes frame `index` from the file's bytes; a damaged picture (or
    // an index out of range) throws ETovaError.
    TCursorImage DecodeFrame(int32_t index) const;

private:
    friend class TCursorFileReader;
    friend TCursorAnimation ReadCursorFile(std::span<const uint8_t> data);

    // Where a frame's image lies in the file, and the hot spot its
    // directory entry gives (cursors have one, icons do not).
    struct TFrame {
        size_t Offset = 0;
        size_t Size = 0;
        bool HasHotSpot = false;
        int32_t HotX = 0;
        int32_t HotY = 0;
    };
    std::vector<uint8_t> data_;
    std::vector<TFrame> frames_;
};

// Reads a ".cur" (or ".ico") or ".ani" file, told apart by their content:
// the steps, and every frame's image header, whose sizes are checked here;
// the animation keeps a copy of the bytes. Of a cursor with several images
// the largest one is taken.
TCursorAnimation ReadCursorFile(std::span<const uint8_t> data);

}  // namespace tova
