// One input event in game terms, as every display backend (and the scripted
// input of headless runs) delivers it to the player: keys as Windows
// virtual-key codes, the pointer in game pixels, text as UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace tova {

enum class TInputKind {
    MouseMove,    // X, Y
    MouseDown,    // Button, X, Y
    MouseUp,      // Button, X, Y
    Wheel,        // WheelSteps (> 0 up, away from the user), X, Y
    KeyDown,      // Key (auto-repeat never arrives as KeyDown)
    KeyUp,        // Key
    Text,         // Text (UTF-8, from the keyboard or an input method)
    Close,        // the user asked to close the window
    FocusLost,    // the window became inactive
    FocusGained,  // the window became active again
};

enum class TMouseButton { Left, Right, Middle };

struct TInputEvent {
    TInputKind Kind = TInputKind::MouseMove;
    int32_t X = 0;  // game pixels; outside the game's rectangle when the pointer is in a border
    int32_t Y = 0;
    TMouseButton Button = TMouseButton::Left;
    int32_t WheelSteps = 0;
    uint8_t Key = 0;
    std::string Text;

    static TInputEvent Of(TInputKind kind) {
        TInputEvent event;
        event.Kind = kind;
        return event;
    }
    static TInputEvent OfKey(TInputKind kind, uint8_t key) {
        TInputEvent event = Of(kind);
        event.Key = key;
        return event;
    }
    static TInputEvent OfText(std::string text) {
        TInputEvent event = Of(TInputKind::Text);
        event.Text = std::move(text);
        return event;
    }
};

}  // namespace tova
