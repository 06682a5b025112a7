// The process-wide run state shared by the project, the interpreter and the
// frame loop.
#pragma once

#include <cstdint>

namespace tova {

struct TRunFlags {
    bool Stop = false;         // set while loading and when the project stops
    bool Terminating = false;  // the program is ending (a data disc was not given, the end page failed)
    // The frame timing the frame loop sets before each frame: the elapsed
    // milliseconds of the last frame and their running total.
    int32_t FrameElapsed = 0;
    uint32_t FrameTotal = 0;  // @TickCount
    int32_t FrameCount = 0;   // frames processed since start (@UpdateCount)
    // A write of save.dat failed (and was reported): the run ends with exit code 1.
    bool SaveWriteFailed = false;
};

}  // namespace tova
