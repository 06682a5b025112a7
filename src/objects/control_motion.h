// What a control needs of the motion that drives it along a film: a step per
// frame and whether it still runs. The motion sets the control's MotionX,
// MotionY and PriorityBias itself; the control owns it.
#pragma once

#include <cstdint>

namespace tova {

class TControlMotion {
public:
    virtual ~TControlMotion() = default;
    // Advances by the frame time; false once the film has ended (and does
    // not repeat).
    virtual bool Step(int32_t frameMs) = 0;
    // Running and not done (PR_PLAYING).
    virtual bool Running() const = 0;
};

}  // namespace tova
