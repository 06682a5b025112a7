// What drives the frames: a frame source supplies the clock, hands the input
// that arrived since the last frame to the screen, and shows what a frame
// drew. The headless loop is one source, the window another; the frame
// procedure itself (TPlayer::DoFrame) is the same for both.
#pragma once

#include <span>

#include "engine/frame_clock.h"
#include "graphics/surface.h"
#include "objects/input_sink.h"

namespace tova {

// Where a drawn frame is shown: the window, or a headless stand-in that
// keeps screenshots.
class TPresentation {
public:
    virtual ~TPresentation() = default;
    // Shows the frame the screen has just composed: the whole picture, and the
    // parts of it that changed since the last call (the whole picture the first time).
    virtual void Present(const TSurface32& screen, std::span<const TRect> changed) = 0;
};

class TFrameSource {
public:
    virtual ~TFrameSource() = default;
    virtual TFrameClock& Clock() = 0;
    // Hands the input that arrived since the last call to the sink.
    virtual void PumpInput(TInputSink& sink) = 0;
    // Where drawn frames go; null when nothing shows them.
    virtual TPresentation* Presentation() = 0;
};

}  // namespace tova
