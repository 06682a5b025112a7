// A keyframe film that a motion plays on one control: a number of frames at
// 60 frames per second, a frame to loop back to, and the operation that puts
// frame N on the control. A relative film moves the control about an origin
// (where the control stood when the motion started); an absolute one places
// it at the film's own coordinates. The motion files (".tmt") are loaded into
// this form; tests give small films of their own.
#pragma once

#include <cstdint>

namespace tova {

class TTovaControl;

class TMotionFilm {
public:
    virtual ~TMotionFilm() = default;

    virtual int32_t FrameCount() const = 0;
    // The frame a repeating motion goes back to after the last one.
    virtual int32_t LoopStart() const = 0;
    virtual bool Relative() const = 0;

    // Where a relative film's coordinates start (0, 0 for an absolute one).
    virtual void SetOrigin(int32_t x, int32_t y) = 0;
    // The control's own priority when the motion started: frames that change
    // the drawing order do so by a bias over it.
    virtual void SetBasePriority(int32_t priority) = 0;
    // Puts frame `frame` (0 .. FrameCount() - 1) on the control: its motion
    // position and whatever else the film drives.
    virtual void ApplyFrame(int32_t frame, TTovaControl& control) = 0;
};

}  // namespace tova
