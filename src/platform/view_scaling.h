// Where the game's picture goes in a window of any size, and which game
// pixel a point of the window shows. The window may be larger than the game
// (a resized window, full screen) and its drawable may have more pixels than
// its logical size (a HiDPI display), so every backend needs the same
// arithmetic: a whole factor when one fits (sharp pixels), else the largest
// factor that keeps the aspect ratio, or the whole window when stretching;
// the picture centred on black.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tova {

enum class TScaleMode {
    Integer,  // the largest whole factor that fits; the aspect fit when none does
    Aspect,   // the largest factor (fractional) that keeps the aspect ratio
    Stretch,  // the whole drawable, aspect ratio ignored
};

// "integer", "aspect", "stretch"; nullopt for anything else.
std::optional<TScaleMode> ScaleModeFromName(std::string_view name);

struct TViewport {
    int32_t Left = 0;  // in drawable pixels
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

// The rectangle of the drawable (drawableWidth x drawableHeight pixels) that
// shows the game (gameWidth x gameHeight). Sizes must be positive; a
// drawable smaller than one pixel per side gives an empty viewport.
TViewport FitViewport(int32_t gameWidth, int32_t gameHeight, int32_t drawableWidth, int32_t drawableHeight,
                      TScaleMode mode);

// Maps window coordinates (logical units, as mouse events give them) to game
// pixels. windowWidth/windowHeight are the logical size of the window, the
// viewport is in drawable pixels (their ratio is the display's density).
// Points outside the picture map outside the game's rectangle (negative or
// beyond its size), rounding toward negative infinity, so a caller can tell
// and clamp as it needs.
struct TGamePoint {
    int32_t X = 0;
    int32_t Y = 0;
};
TGamePoint WindowToGame(double windowX, double windowY, int32_t windowWidth, int32_t windowHeight,
                        int32_t drawableWidth, int32_t drawableHeight, const TViewport& viewport,
                        int32_t gameWidth, int32_t gameHeight);

}  // namespace tova
