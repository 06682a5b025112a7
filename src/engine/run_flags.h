// The process-wide run state shared by the project, the interpreter and the
// frame procedure: the stop flag and the frame-timing values, kept here and
// nowhere else.
#pragma once

#include <cstdint>

namespace tova {

struct TRunFlags {
    bool Stop = false;         // set while loading and when the project stops
    bool Terminating = false;  // the program is ending (a data disc was not given, the end page failed)
    // The frame timing, written by the frame procedure before each frame.
    uint32_t LastTick = 0;     // the millisecond clock at the last frame (real-time clocks only)
    int32_t FrameDelta = 0;    // milliseconds the current frame stands for
    uint32_t TotalTime = 0;    // running sum of FrameDelta: @TickCount, the clock of waits and timers
    int32_t FrameCount = 0;    // frames processed since start: @UpdateCount
    int32_t FrameDivider = 1;  // the screen is drawn on every FrameDivider-th frame
    // A write of save.dat failed (and was reported): the run ends with exit code 1.
    bool SaveWriteFailed = false;
};

}  // namespace tova
