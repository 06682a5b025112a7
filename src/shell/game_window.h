// What the real-time frame loop needs of a window: its events in game terms,
// the composed picture shown, full screen switched, and a wait for the next
// event while the game is paused. The SDL window is one; tests drive the loop
// with a window of their own.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/surface.h"
#include "platform/input_event.h"

namespace tova {

class TGameWindow {
public:
    virtual ~TGameWindow() = default;
    // Appends the events that arrived since the last call.
    virtual void PollEvents(std::vector<TInputEvent>& events) = 0;
    // Waits up to timeoutMs for an event; true when one is pending.
    virtual bool WaitForEvent(int32_t timeoutMs) = 0;
    // Shows the composed picture; changed lists what differs from the
    // picture shown before (the whole of it the first time).
    virtual void Present(const TSurface32& screen, std::span<const TRect> changed) = 0;
    // The picture shown was spoilt or resized: it must be shown again even
    // when nothing changed.
    virtual bool NeedsRepaint() const = 0;
    // The process was asked to end (a signal): the game ends without asking.
    virtual bool QuitRequested() const = 0;
    virtual bool IsFullScreen() const = 0;
    virtual void SetFullScreen(bool on) = 0;
};

}  // namespace tova
