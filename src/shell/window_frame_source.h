// The frames of the game's window: the real-time clock (a frame about every
// 15 ms, gaps of 300 ms or more not counted), the window's input handed to
// the screen between frames, the composed picture shown with only its
// changed parts, and the window's own keys and questions: the close button
// asks whether to end the game, F12 writes a screenshot, and a window that
// loses the focus stops taking presses (and, when the game asks for it,
// stops its frames; the time away does not count).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/frame_source.h"
#include "graphics/surface.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "shell/game_window.h"
#include "shell/input_recorder.h"

namespace tova {

class TPlayer;

struct TWindowSourceOptions {
    std::string Title;                      // code page 932: the close question's and the screenshots' name
    bool PauseWhenInactive = false;         // the project's setting
    bool Japanese = false;                  // the close question in Japanese
    TMessageBoxHost* MessageBox = nullptr;  // required: asks the close question
    TInputRecorder* Recorder = nullptr;     // --record, or none
    std::string ScreenshotFolder;           // host path; empty: F12 says it cannot write
    std::ostream* Log = nullptr;            // where the screenshot's name is told
};

class TWindowFrameSource final : public TFrameSource, public TPresentation {
public:
    TWindowFrameSource(TGameWindow& window, TMillisecondSource& milliseconds, TWindowSourceOptions options);

    TFrameClock& Clock() override { return clock_; }
    void PumpInput(TInputSink& sink) override;
    TPresentation* Presentation() override { return this; }
    // Shows the screen's composed picture: the parts that changed, or the
    // whole of it again when the window was spoilt; nothing when neither.
    void Present(const TSurface32& screen, std::span<const TRect> changed) override;

    // The user confirmed the close question, or the process was told to
    // end: the game's end page runs next.
    bool CloseConfirmed() const { return closeConfirmed_ || window_.QuitRequested(); }
    // The window is inactive and the game stops while it is.
    bool Paused() const { return !active_ && options_.PauseWhenInactive; }
    // Waits (without frames) for the window's next events and hands them
    // on: what a paused game does instead of its frames.
    void WaitWhilePaused(TInputSink& sink);
    // The frames run so far.
    int64_t Frames() const { return frames_; }

private:
    // The real-time clock, counting the frames its ticks run (the frame
    // number that recorded input belongs to) and recording their times.
    class TCountingClock final : public TFrameClock {
    public:
        TCountingClock(TWindowFrameSource& owner, TMillisecondSource& milliseconds)
            : owner_(owner), clock_(milliseconds) {}
        std::optional<int32_t> NextFrame() override;
        uint32_t LastTick() const override { return clock_.LastTick(); }
        void Restart() override { clock_.Restart(); }

    private:
        TWindowFrameSource& owner_;
        TRealTimeFrameClock clock_;
    };

    void Deliver(const TInputEvent& event, TInputSink& sink);
    void Record(const TInputEvent& event);
    void AskToClose();
    void TakeScreenshot();

    TGameWindow& window_;
    TWindowSourceOptions options_;
    TCountingClock clock_;
    std::vector<TInputEvent> events_;
    int64_t frames_ = 0;
    bool frameComing_ = false;  // the current tick runs a frame after its input
    bool active_ = true;
    bool closeConfirmed_ = false;
    bool pointerKnown_ = false;
    int32_t pointerX_ = 0;
    int32_t pointerY_ = 0;
    const TSurface32* shown_ = nullptr;  // the picture last presented (the screen's own surface)
};

// Runs the game's frames in the window until the game stops, the user
// confirmed the close question or the limit of frames is reached (calling
// afterFrame, when given, with each frame's number), then the end page's
// frames; the player is left for Finish. Returns the number of the game's
// frames.
int64_t RunWindowFrames(TPlayer& player, TWindowFrameSource& source, std::optional<int64_t> limit = {},
                        const std::function<void(int64_t frame)>& afterFrame = {});

}  // namespace tova
