#include "platform/view_scaling.h"

#include <algorithm>
#include <cmath>

namespace tova {

std::optional<TScaleMode> ScaleModeFromName(std::string_view name) {
    if (name == "integer") return TScaleMode::Integer;
    if (name == "aspect") return TScaleMode::Aspect;
    if (name == "stretch") return TScaleMode::Stretch;
    return std::nullopt;
}

TViewport FitViewport(int32_t gameWidth, int32_t gameHeight, int32_t drawableWidth, int32_t drawableHeight,
                      TScaleMode mode) {
    if (gameWidth <= 0 || gameHeight <= 0 || drawableWidth <= 0 || drawableHeight <= 0) return {};
    if (mode == TScaleMode::Stretch) return {0, 0, drawableWidth, drawableHeight};
    int64_t width = 0;
    int64_t height = 0;
    const int32_t factor = std::min(drawableWidth / gameWidth, drawableHeight / gameHeight);
    if (mode == TScaleMode::Integer && factor >= 1) {
        width = int64_t{gameWidth} * factor;
        height = int64_t{gameHeight} * factor;
    } else if (int64_t{drawableWidth} * gameHeight <= int64_t{drawableHeight} * gameWidth) {
        // The width limits: full width, the height from the aspect ratio.
        width = drawableWidth;
        height = std::max<int64_t>(1, int64_t{drawableWidth} * gameHeight / gameWidth);
    } else {
        height = drawableHeight;
        width = std::max<int64_t>(1, int64_t{drawableHeight} * gameWidth / gameHeight);
    }
    return {static_cast<int32_t>((drawableWidth - width) / 2),
            static_cast<int32_t>((drawableHeight - height) / 2), static_cast<int32_t>(width),
            static_cast<int32_t>(height)};
}

TGamePoint WindowToGame(double windowX, double windowY, int32_t windowWidth, int32_t windowHeight,
                        int32_t drawableWidth, int32_t drawableHeight, const TViewport& viewport,
                        int32_t gameWidth, int32_t gameHeight) {
    if (windowWidth <= 0 || windowHeight <= 0 || viewport.Width <= 0 || viewport.Height <= 0) return {};
    const double pixelX = windowX * drawableWidth / windowWidth;
    const double pixelY = windowY * drawableHeight / windowHeight;
    const double gameX = (pixelX - viewport.Left) * gameWidth / viewport.Width;
    const double gameY = (pixelY - viewport.Top) * gameHeight / viewport.Height;
    const auto toPixel = [](double value) {
        return static_cast<int32_t>(std::clamp(std::floor(value), -1.0e9, 1.0e9));
    };
    return {toPixel(gameX), toPixel(gameY)};
}

}  // namespace tova
