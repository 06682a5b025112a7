// Where the window's input goes: keys, mouse buttons, pointer moves and the
// wheel, in the order they happen. The screen takes them into the input state
// that components and system variables read; a frame source hands them over
// as they arrive, between frames.
#pragma once

#include <cstdint>

#include "platform/input_event.h"

namespace tova {

class TInputSink {
public:
    virtual ~TInputSink() = default;
    // keyCode is a virtual key code (0..255); an auto-repeat is flagged.
    virtual void KeyDown(int keyCode, bool autoRepeat) = 0;
    virtual void KeyUp(int keyCode) = 0;
    virtual void MouseDown(TMouseButton button) = 0;
    virtual void MouseUp(TMouseButton button) = 0;
    // The pointer position in screen coordinates of the game.
    virtual void MouseMove(int32_t x, int32_t y) = 0;
    // Positive: the wheel turned up, away from the user.
    virtual void Wheel(int32_t steps) = 0;
};

}  // namespace tova
