// The drawing operations on surfaces: every operation names its target first,
// takes a clip rectangle in target coordinates and clips the source, the mask
// and the target completely, so negative, empty, huge or partly outside
// geometry never touches memory outside any of them. Source rectangles are in
// source coordinates; a mask or coverage surface given with a source is read
// at the source's coordinates (it must cover the source rectangle; the part it
// does not cover is not drawn).
//
// Blend arithmetic, one form everywhere (per channel, integer division):
//   mix(old, new, k) = old for k = 0, new for k = 255, else
//                      (k * new + (255 - k) * old) / 256
// - A level L draws a source as: L <= 0 nothing, 1..254 mix(target, source, L),
//   255 and 256 a plain copy, above 256 the source brightened additively by
//   L - 256 (saturating at 255, so 511 and above give white).
// - Through an 8-bit mask m at level L the weight is k = m for L = 255 and
//   (m * L + 255) / 256 otherwise (exact at both ends); the brightened form
//   first brightens the source, then mixes it with weight m.
// - A shade S first adds S (S > 0) to each channel of the source or takes
//   -S from it (S < 0), saturating; the level's forms then draw the result.
// - A transparent colour acts as a mask of 0 where the source has that colour
//   and 255 elsewhere.
// - Additive blending adds (source * L + 255) / 256 per channel, saturating.
// - Coverage compositing into a colour + coverage pair (the text renderer's
//   off-screen pair), for a coverage v and a stored coverage a:
//   v = 0 leaves both; v = 255 sets the colour and a = 255; otherwise
//   a' = a + v * (255 - a) / 255 and the colour becomes mix(old, new, k) with
//   k = v * 255 / a' (the share of the new colour in the result).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "graphics/surface.h"

namespace tova {

enum class TFlip : uint8_t { None = 0, Horizontal = 1, Vertical = 2, Both = 3 };

constexpr bool HasFlip(TFlip value, TFlip flag) {
    return (static_cast<uint8_t>(value) & static_cast<uint8_t>(flag)) != 0;
}

// Levels: see the blend arithmetic above.
constexpr int32_t LevelNone = 0;
constexpr int32_t LevelCopy = 255;
constexpr int32_t LevelBrighten = 256;  // + the amount to add

// How one source is drawn.
struct TDrawOptions {
    int32_t Level = LevelCopy;
    TFlip Flip = TFlip::None;
    // An 8-bit mask at the source's coordinates (0 keeps the target, 255
    // draws the source). Takes precedence over TransparentColor.
    const TConstView8* Mask = nullptr;
    // Source pixels of this colour are not drawn (it is matched before the shade).
    std::optional<TPixel32> TransparentColor;
    // Added to (above 0) or taken from (below 0) every channel of the
    // source before it is drawn, -255 .. 255.
    int32_t Shade = 0;
};

// --- Filling --------------------------------------------------------------

// Sets every pixel of rect (clipped) to colour.
void Fill(TView32 target, const TRect& clip, const TRect& rect, TPixel32 colour);
void Fill(TView8 target, const TRect& clip, const TRect& rect, uint8_t value);
// The whole target to 0.
void Clear(TView32 target);
void Clear(TView8 target);

// --- Drawing one source ---------------------------------------------------

// Draws sourceRect of source with its top-left corner at (x, y), as the
// options say (level, flips, mask or transparent colour).
void Draw(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
          const TRect& sourceRect, const TDrawOptions& options);
// Shorthands of Draw.
void Copy(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
          const TRect& sourceRect, TFlip flip = TFlip::None);
void Blend(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
           const TRect& sourceRect, int32_t level);
void DrawThroughMask(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
                     const TRect& sourceRect, TConstView8 mask, int32_t level = LevelCopy);
// 8-bit copy (masks, coverage), optionally flipped.
void Copy(TView8 target, const TRect& clip, int32_t x, int32_t y, TConstView8 source, const TRect& sourceRect,
          TFlip flip = TFlip::None);

// Adds the source scaled by level (0..255) to the target, saturating.
void AddBlend(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
              const TRect& sourceRect, int32_t level = LevelCopy);

// Fills colour through an 8-bit coverage at a level (0..255): text without
// border or shadow, solid shapes.
void FillThroughMask(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView8 coverage,
                     const TRect& coverageRect, TPixel32 colour, int32_t level = LevelCopy);

// Composites a solid colour through a coverage into a colour + coverage pair
// of equal size (the coverage formula above); x, y place coverageRect.
void CompositeCoverage(TView32 targetColour, TView8 targetCoverage, const TRect& clip, int32_t x, int32_t y,
                       TConstView8 coverage, const TRect& coverageRect, TPixel32 colour);

// --- Constant colours -----------------------------------------------------

// Adds colour to every pixel of rect, per channel, saturating (towards white).
void Lighten(TView32 target, const TRect& clip, const TRect& rect, TPixel32 colour);
// Subtracts colour from every pixel of rect, saturating (towards black).
void Darken(TView32 target, const TRect& clip, const TRect& rect, TPixel32 colour);
// The source with colour added (Lighten) or subtracted (Darken), copied to
// the target at (x, y): a transition step without a separate copy.
void CopyLightened(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
                   const TRect& sourceRect, TPixel32 colour);
void CopyDarkened(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
                  const TRect& sourceRect, TPixel32 colour);

// --- Two pictures into one (transitions) ---------------------------------
// oldPicture and newPicture are read at the target's coordinates; the clip
// is also clipped to both pictures.

// target = mix(old, new, level): 0 or less copies old, 255 and above new.
void Mix(TView32 target, const TRect& clip, TConstView32 oldPicture, TConstView32 newPicture, int32_t level);
// target = mix(old, new, m) with m from mask at (x, y mod mask height): the
// mask repeats downwards when it is lower than the target. Select takes the
// mask as binary (new wherever m is not 0).
enum class TMaskMode : uint8_t { Blend, Select };
void MixThroughMask(TView32 target, const TRect& clip, TConstView32 oldPicture, TConstView32 newPicture,
                    TConstView8 mask, TMaskMode mode = TMaskMode::Blend);

// --- Geometry -------------------------------------------------------------

// Stretches sourceRect onto targetRect, sampling the nearest source pixel
// (column sourceRect.Left + i * sourceWidth / targetWidth), then draws it as
// the options say (level, flips, mask at the source's coordinates,
// transparent colour).
void Stretch(TView32 target, const TRect& clip, const TRect& targetRect, TConstView32 source,
             const TRect& sourceRect, const TDrawOptions& options = {});
void Stretch(TView8 target, const TRect& clip, const TRect& targetRect, TConstView8 source,
             const TRect& sourceRect);

// Covers rect with copies of the whole source laid edge to edge; the first
// copy starts at (u mod width, v mod height) of the source. A flip flag draws
// every copy flipped and lays the copies from the opposite edge of rect.
void DrawTiled(TView32 target, const TRect& clip, const TRect& rect, TConstView32 source, int32_t u,
               int32_t v, const TDrawOptions& options = {});
void DrawTiled(TView8 target, const TRect& clip, const TRect& rect, TConstView8 source, int32_t u, int32_t v);

// Rotation and zoom of a frame about its centre, drawn with that centre at
// (centreX, centreY); angle in radians (clockwise on screen), zoom in 1/256
// (256 = 100 %). Nearest sampling; level, mask, transparent colour and
// shade as in Draw (flips are ignored).
struct TRotation {
    double Angle = 0.0;
    int32_t Zoom = 256;
};
void DrawRotated(TView32 target, const TRect& clip, int32_t centreX, int32_t centreY, TConstView32 source,
                 const TRotation& rotation, const TDrawOptions& options = {});
// The target rectangle DrawRotated may touch for a source of this size.
TRect RotatedBounds(int32_t centreX, int32_t centreY, int32_t width, int32_t height,
                    const TRotation& rotation);

// A picture that is a view of a source (stretched, mirrored or cropped):
// its column u shows source column Columns[u] and its row v source row
// Rows[v]; -1 shows nothing there.
struct TPictureAxes {
    std::span<const int32_t> Columns;
    std::span<const int32_t> Rows;
};

// The pixels DrawRotated draws, row by row, for callers that keep them
// before they draw them: the source, or the axes' picture of it, turned and
// zoomed about its centre with that centre at (centreX, centreY), seen
// through the options' mask or transparent colour (the other options are
// the drawing's business). The source, the mask and the axes must outlive it.
class TRotatedSampler {
public:
    TRotatedSampler(int32_t centreX, int32_t centreY, TConstView32 source, const TRotation& rotation,
                    const TDrawOptions& options, const TPictureAxes* axes = nullptr);
    // The target rectangle the turned picture may cover.
    TRect Bounds() const { return bounds_; }
    // The colours and mask values (0 where nothing shows) of the n target
    // pixels of row y from column x; false when nothing shows there at all.
    bool SampleRow(int32_t x, int32_t y, size_t n, TPixel32* colour, uint8_t* mask) const;

private:
    TConstView32 source_;
    bool masked_ = false;
    TConstView8 mask_;
    std::optional<TPixel32> key_;
    std::optional<TPictureAxes> axes_;
    TRect limit_;  // the picture's pixels that can show
    TRect bounds_;
    double cos_ = 1, sin_ = 0, scale_ = 1, halfWidth_ = 0, halfHeight_ = 0;
    int32_t centreX_ = 0, centreY_ = 0;
};

// --- 8-bit shapes (masks of transitions) ----------------------------------

// Fills the ellipse inscribed in bounds with value.
void FillEllipse(TView8 target, const TRect& clip, const TRect& bounds, uint8_t value);
// Fills the pie segment of the circle around (centreX, centreY) with the
// given radius between startAngle and startAngle + sweepAngle (radians,
// clockwise on screen from the positive x axis; a negative sweep goes the
// other way; a sweep of 2 pi or more fills the whole disc).
void FillPie(TView8 target, const TRect& clip, double centreX, double centreY, double radius,
             double startAngle, double sweepAngle, uint8_t value);

}  // namespace tova
