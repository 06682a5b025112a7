// Scripted input: the text form in which headless runs are given input
// (--input) and windowed sessions are recorded (--record), one event per
// line, "FRAME EVENT ARGS", delivered before that frame's input stage:
//
//   12 move 100 80          the pointer to game pixel (100, 80)
//   12 down left            a button pressed (left|right|middle) where the pointer is
//   13 up left
//   20 wheel up             (up|down) one step
//   30 key down VK_RETURN   a key by name or decimal virtual-key code
//   31 key up 13
//   40 text こんにちは        UTF-8 text typed (or composed by an input method):
//                           the rest of the line after one blank, "#" included
//   99 close                the window's close button
//   12 tick 16              (recordings) the milliseconds frame 12 stood for
//
// "#" starts a comment (a whole line, or after a blank); blank lines are
// ignored. Frames are counted from 1; events of one frame keep their order.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input_event.h"

namespace tova {

struct TScriptedEvent {
    int64_t Frame = 0;
    TInputEvent Event;
};

struct TInputScript {
    std::vector<TScriptedEvent> Events;     // in file order (and so in frame order)
    std::map<int64_t, int32_t> FrameTicks;  // frame -> milliseconds, from "tick" lines
};

// Parses a whole script. A malformed line throws ETovaError
// "NAME:LINE: message" (NAME as given, in UTF-8); so does a frame number
// smaller than the one of a line before it.
TInputScript ParseInputScript(std::string_view text, std::string_view name);

// The line of a recording for one event, without its line break (a wheel
// turned several steps gives one line per step, joined by line breaks).
std::string InputScriptLine(int64_t frame, const TInputEvent& event);
std::string TickLine(int64_t frame, int32_t milliseconds);

}  // namespace tova
