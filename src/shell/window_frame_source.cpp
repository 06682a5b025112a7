#include "shell/window_frame_source.h"

#include <ostream>
#include <utility>

#include "core/encoding.h"
#include "core/error.h"
#include "engine/player.h"
#include "platform/stop_signal.h"
#include "platform/virtual_keys.h"
#include "shell/headless_loop.h"
#include "shell/screenshot_file.h"

namespace tova {
namespace {

// How long a paused game sleeps between looks at the window when nothing happens.
constexpr int32_t kPausedWaitMs = 250;

}  // namespace

std::optional<int32_t> TWindowFrameSource::TCountingClock::NextFrame() {
    const std::optional<int32_t> elapsed = clock_.NextFrame();
    owner_.frameComing_ = elapsed.has_value();
    if (elapsed) {
        ++owner_.frames_;
        if (owner_.options_.Recorder) owner_.options_.Recorder->Tick(owner_.frames_, *elapsed);
    }
    return elapsed;
}

TWindowFrameSource::TWindowFrameSource(TGameWindow& window, TMillisecondSource& milliseconds,
                                       TWindowSourceOptions options)
    : window_(window), options_(std::move(options)), clock_(*this, milliseconds) {
    if (!options_.MessageBox) throw ETovaError("the window needs a message box");
}

void TWindowFrameSource::PumpInput(TInputSink& sink) {
    events_.clear();
    window_.PollEvents(events_);
    for (const TInputEvent& event : events_)
        Deliver(event, sink);
}

void TWindowFrameSource::WaitWhilePaused(TInputSink& sink) {
    window_.WaitForEvent(kPausedWaitMs);
    frameComing_ = false;
    PumpInput(sink);
}

// Presses are not taken while the window is inactive (it only just lost the
// focus, or a press arrived late); releases, moves and the wheel always are,
// so that no key stays held.
void TWindowFrameSource::Deliver(const TInputEvent& event, TInputSink& sink) {
    switch (event.Kind) {
        case TInputKind::Close:
            AskToClose();
            return;
        case TInputKind::FocusLost:
            active_ = false;
            return;
        case TInputKind::FocusGained:
            active_ = true;
            // The time away is not the game's: the next frame counts from now.
            clock_.Restart();
            return;
        case TInputKind::KeyDown:
            if (event.Key == VK_F1 + 11) {
                TakeScreenshot();
                return;
            }
            if (!active_) return;
            break;
        case TInputKind::MouseDown:
            if (!active_) return;
            break;
        default:
            break;
    }
    Record(event);
    DeliverInputEvent(sink, event);
}

// A recording names button presses without a position, at the pointer's
// last recorded one, so a press elsewhere is preceded by the move there.
void TWindowFrameSource::Record(const TInputEvent& event) {
    if (!options_.Recorder) return;
    // Input arriving on a tick that runs no frame waits for the next frame.
    const int64_t frame = frameComing_ ? frames_ : frames_ + 1;
    const bool atPointer = event.Kind == TInputKind::MouseDown || event.Kind == TInputKind::MouseUp ||
                           event.Kind == TInputKind::MouseMove;
    if (atPointer) {
        if (event.Kind != TInputKind::MouseMove &&
            (!pointerKnown_ || pointerX_ != event.X || pointerY_ != event.Y)) {
            TInputEvent move = TInputEvent::Of(TInputKind::MouseMove);
            move.X = event.X;
            move.Y = event.Y;
            options_.Recorder->Event(frame, move);
        }
        pointerKnown_ = true;
        pointerX_ = event.X;
        pointerY_ = event.Y;
    }
    options_.Recorder->Event(frame, event);
}

void TWindowFrameSource::AskToClose() {
    if (closeConfirmed_) return;
    // The game's title heads the box (its title bar, drawn by the window
    // manager in any script); the question itself stays in the user's
    // language without the title, since SDL's X11 box draws its text with
    // the server's core fonts, which hold no Japanese a title may need.
    const std::string question = options_.Japanese ? "終了しますか？" : "Do you want to exit the game?";
    if (options_.MessageBox->Show(options_.Title, Utf8ToCp932Lossy(question), TMessageButtons::YesNo) !=
        TMessageResult::Yes)
        return;
    closeConfirmed_ = true;
    if (options_.Recorder)
        options_.Recorder->Event(frameComing_ ? frames_ : frames_ + 1, TInputEvent::Of(TInputKind::Close));
}

void TWindowFrameSource::TakeScreenshot() {
    if (!options_.Log) return;
    if (!shown_) {
        *options_.Log << "tovaplayer: no picture has been shown yet, so there is no screenshot\n";
        return;
    }
    try {
        const std::string path =
            WriteScreenshot(*shown_, options_.ScreenshotFolder, options_.Title, LocalNow());
        *options_.Log << "tovaplayer: screenshot written to " << path << "\n";
    } catch (const ETovaError& e) {
        *options_.Log << "tovaplayer: " << Cp932ToUtf8(e.what()) << "\n";
    }
    options_.Log->flush();
}

void TWindowFrameSource::Present(const TSurface32& screen, std::span<const TRect> changed) {
    const bool first = shown_ != &screen;
    shown_ = &screen;
    if (first) {
        const TRect whole = screen.Bounds();
        window_.Present(screen, {&whole, 1});
        return;
    }
    if (changed.empty() && !window_.NeedsRepaint()) return;
    window_.Present(screen, changed);
}

int64_t RunWindowFrames(TPlayer& player, TWindowFrameSource& source, std::optional<int64_t> limit,
                        const std::function<void(int64_t frame)>& afterFrame) {
    const int64_t first = source.Frames();
    while (!player.StopRequested() && !StopSignalReceived() && !source.CloseConfirmed() &&
           (!limit || source.Frames() - first < *limit)) {
        if (source.Paused())
            source.WaitWhilePaused(player.Input());
        else if (player.RunFrame(source) && afterFrame)
            afterFrame(source.Frames() - first);
    }
    const int64_t frames = source.Frames() - first;
    player.BeginShutdown();
    while (player.Phase() == TPlayerPhase::EndPage)
        player.RunFrame(source);
    return frames;
}

}  // namespace tova
