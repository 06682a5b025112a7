// The frames without a window: a virtual clock that advances by a fixed step
// per frame, so that every run of a game is the same, no input and nothing
// shown. It only drives the player's frame procedure.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/frame_clock.h"
#include "engine/frame_source.h"

namespace tova {

class TPlayer;

struct THeadlessOptions {
    std::optional<int64_t> Frames;  // none: no limit
    int32_t FrameMs = 15;
    bool UntilIdle = false;
};

class THeadlessFrameSource final : public TFrameSource {
public:
    explicit THeadlessFrameSource(int32_t frameMs) : clock_(frameMs) {}
    TFrameClock& Clock() override { return clock_; }
    void PumpInput(TInputSink&) override {}
    TPresentation* Presentation() override { return nullptr; }

private:
    TVirtualFrameClock clock_;
};

// Runs the game's frames until the limit, the stop flag, SIGINT or SIGTERM,
// or (UntilIdle) the game is idle, then the end page's frames; returns the number of the game's
// frames. The player is left for Finish.
int64_t RunHeadlessFrames(TPlayer& player, const THeadlessOptions& options);

}  // namespace tova
