// The frames without a window: a virtual clock that advances by a fixed step
// per frame, so that every run of a game is the same, input from a script
// (--input) handed to the screen before the input stage of the frame it names,
// and nothing shown. It only drives the player's frame procedure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "engine/frame_clock.h"
#include "engine/frame_source.h"
#include "platform/input_script.h"

namespace tova {

class TPlayer;

struct THeadlessOptions {
    std::optional<int64_t> Frames;  // none: no limit
    int32_t FrameMs = 15;
    // End when the game is idle; scripted input still to come keeps it going.
    bool UntilIdle = false;
    TInputScript Input;
    // Called after each of the game's frames with its number (from 1).
    std::function<void(int64_t frame)> AfterFrame;
};

// Hands the screen one event of the window's kinds. Text and the window's
// close and focus changes are not the screen's: the caller handles them.
void DeliverInputEvent(TInputSink& sink, const TInputEvent& event);

// The virtual clock of a headless run: the milliseconds a recorded session
// gives its frames ("tick" lines), so that a replay times every frame as the
// window did, and the fixed step for the frames it does not name.
class TReplayFrameClock final : public TFrameClock {
public:
    TReplayFrameClock(int32_t stepMs, const std::map<int64_t, int32_t>& ticks)
        : stepMs_(stepMs), ticks_(ticks) {}
    std::optional<int32_t> NextFrame() override;
    uint32_t LastTick() const override { return now_; }
    void Restart() override {}

private:
    int32_t stepMs_;
    const std::map<int64_t, int32_t>& ticks_;
    int64_t frame_ = 0;
    uint32_t now_ = 0;
};

class THeadlessFrameSource final : public TFrameSource {
public:
    THeadlessFrameSource(int32_t frameMs, const TInputScript& input)
        : clock_(frameMs, input.FrameTicks), input_(input) {}
    TFrameClock& Clock() override { return clock_; }
    // Frame n's call (counted from 1) delivers the script's events of frame n.
    void PumpInput(TInputSink& sink) override;
    TPresentation* Presentation() override { return nullptr; }

    // The script asked to close the window.
    bool CloseRequested() const { return closeRequested_; }
    // Events of the script not delivered yet.
    bool InputPending() const { return next_ < input_.Events.size(); }

private:
    TReplayFrameClock clock_;
    const TInputScript& input_;
    size_t next_ = 0;
    int64_t frame_ = 0;
    bool closeRequested_ = false;
};

// Runs the game's frames until the limit, the stop flag, SIGINT or SIGTERM, a
// scripted close or (UntilIdle) the game is idle, then the end page's frames;
// returns the number of the game's frames. The player is left for Finish.
int64_t RunHeadlessFrames(TPlayer& player, const THeadlessOptions& options);

}  // namespace tova
