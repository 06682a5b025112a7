// The motion driver's frame step.
#include "objects/components/tova_motion.h"

#include <algorithm>
#include <cmath>

#include "objects/tova_control.h"

namespace tova {

int32_t MotionFrameAt(int64_t elapsedMs) {
    return static_cast<int32_t>(std::clamp<double>(
        std::round(static_cast<double>(elapsedMs) / kMotionFrameMs), INT32_MIN, INT32_MAX));
}

TTovaMotion::TTovaMotion(TTovaControl& control, std::unique_ptr<TMotionFilm> film,
                         std::function<bool()> repeats)
    : control_(control), film_(std::move(film)), repeats_(std::move(repeats)) {}

void TTovaMotion::SeekFrame(int32_t frame) {
    Elapsed = static_cast<int32_t>(std::clamp<double>(std::round(frame * kMotionFrameMs), 0, INT32_MAX));
}

void TTovaMotion::Restart() {
    Elapsed = 0;
    Countdown = 2;
    Frame = 0;
    Done = false;
}

bool TTovaMotion::Step(int32_t frameMs) {
    TMotionFilm& film = *film_;
    TTovaControl& control = control_;
    bool originMoved = false;
    if (Countdown <= 0 && (control.Left != LastX || control.Top != LastY) && film.Relative()) {
        film.SetOrigin(control.Left, control.Top);
        Done = false;
        originMoved = true;
    }
    if (Done) return true;
    const bool first = Countdown == 2;
    if (first) {
        if (film.Relative())
            film.SetOrigin(control.Left, control.Top);
        else
            film.SetOrigin(0, 0);
        film.SetBasePriority(control.Priority);
        LastX = control.Left;
        LastY = control.Top;
    }
    if (Countdown <= 0 && !control.AniPaused)
        Elapsed = static_cast<int32_t>(std::clamp<int64_t>(int64_t{Elapsed} + frameMs, 0, INT32_MAX));
    int32_t frame = std::max(MotionFrameAt(Elapsed), 0);
    const int32_t count = std::max(film.FrameCount(), 0);
    bool goesOn = true;
    if (frame >= count) {
        if (repeats_ && repeats_()) {
            frame = count > 0 ? std::min(frame % count + std::max(film.LoopStart(), 0), count - 1) : 0;
            Elapsed = static_cast<int32_t>(std::lround(frame * kMotionFrameMs));
        } else {
            frame = std::max(count - 1, 0);
            Done = true;
            goesOn = false;
        }
    }
    const bool changed = frame != Frame;
    Frame = frame;
    if ((first || changed || originMoved) && count > 0) film.ApplyFrame(Frame, control);
    if (Countdown > 0) --Countdown;
    LastX = control.Left;
    LastY = control.Top;
    return goesOn;
}

}  // namespace tova
