#include "shell/headless_loop.h"

#include "engine/player.h"
#include "platform/stop_signal.h"

namespace tova {

void DeliverInputEvent(TInputSink& sink, const TInputEvent& event) {
    switch (event.Kind) {
        case TInputKind::MouseMove:
            sink.MouseMove(event.X, event.Y);
            break;
        case TInputKind::MouseDown:
            sink.MouseMove(event.X, event.Y);
            sink.MouseDown(event.Button);
            break;
        case TInputKind::MouseUp:
            sink.MouseMove(event.X, event.Y);
            sink.MouseUp(event.Button);
            break;
        case TInputKind::Wheel:
            sink.Wheel(event.WheelSteps);
            break;
        case TInputKind::KeyDown:
            sink.KeyDown(event.Key, false);
            break;
        case TInputKind::KeyUp:
            sink.KeyUp(event.Key);
            break;
        case TInputKind::Text:
        case TInputKind::Close:
        case TInputKind::FocusLost:
        case TInputKind::FocusGained:
            break;
    }
}

std::optional<int32_t> TReplayFrameClock::NextFrame() {
    const auto tick = ticks_.find(++frame_);
    const int32_t ms = tick == ticks_.end() ? stepMs_ : tick->second;
    now_ += static_cast<uint32_t>(ms);
    return ms;
}

void THeadlessFrameSource::PumpInput(TInputSink& sink) {
    ++frame_;
    for (; next_ < input_.Events.size() && input_.Events[next_].Frame <= frame_; ++next_) {
        const TInputEvent& event = input_.Events[next_].Event;
        if (event.Kind == TInputKind::Close) closeRequested_ = true;
        DeliverInputEvent(sink, event);
    }
}

int64_t RunHeadlessFrames(TPlayer& player, const THeadlessOptions& options) {
    THeadlessFrameSource source(options.FrameMs, options.Input);
    int64_t frames = 0;
    while (!player.StopRequested() && !StopSignalReceived() && !source.CloseRequested() &&
           (!options.Frames || frames < *options.Frames)) {
        if (options.UntilIdle && player.IsIdle() && !source.InputPending()) break;
        if (!player.RunFrame(source)) continue;
        ++frames;
        if (options.AfterFrame) options.AfterFrame(frames);
    }
    player.BeginShutdown();
    while (player.Phase() == TPlayerPhase::EndPage)
        player.RunFrame(source);
    return frames;
}

}  // namespace tova
