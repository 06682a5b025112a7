// Drives a control along a keyframe film at 60 frames per second: counts
// the frame time (not while the control's animation is paused), picks the
// film's frame, wraps to the loop start when the control repeats, and puts
// the frame on the control. A relative film follows the control when a
// script moves it between frames. The control owns its motion.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "objects/components/motion_film.h"
#include "objects/control_motion.h"

namespace tova {

class TTovaControl;

// The length of one film frame in milliseconds.
inline constexpr double kMotionFrameMs = 16.666666666666668;

// The frame of a film for elapsed milliseconds, to the nearest integer.
int32_t MotionFrameAt(int64_t elapsedMs);

class TTovaMotion : public TControlMotion {
public:
    // repeats answers the control's PR_REPEAT at each step.
    TTovaMotion(TTovaControl& control, std::unique_ptr<TMotionFilm> film, std::function<bool()> repeats);

    // One frame: false once, when the film runs out without repeat; a done
    // motion then goes on (true) until a script moves the control, when a
    // relative film starts again from there.
    bool Step(int32_t frameMs) override;
    bool Running() const override { return !Done; }

    // PR_INDEX of a component that a motion drives: the elapsed time of
    // that frame.
    void SeekFrame(int32_t frame);
    // Back to the start, as if newly made.
    void Restart();
    const TMotionFilm& Film() const { return *film_; }

    int32_t Elapsed = 0;  // milliseconds
    int32_t Countdown = 2;
    int32_t Frame = 0;
    int32_t LastX = 0;  // the control's Left and Top after the last step
    int32_t LastY = 0;
    bool Done = false;

private:
    TTovaControl& control_;
    std::unique_ptr<TMotionFilm> film_;
    std::function<bool()> repeats_;
};

}  // namespace tova
