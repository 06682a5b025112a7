// The clocks that pace the frames. The frame procedure is told how many
// milliseconds each frame stands for; a clock decides when a frame is due
// and what it counts: a virtual clock a fixed step per frame (headless runs
// and tests, the same every time), the real-time clock the system's
// millisecond counter with its waits and its gap rule.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/clock.h"

namespace tova {

class TFrameClock {
public:
    virtual ~TFrameClock() = default;
    // Waits for the next tick and returns the milliseconds the frame of that
    // tick stands for, or nullopt when the tick runs no frame.
    virtual std::optional<int32_t> NextFrame() = 0;
    // The reading of the millisecond counter at the last frame.
    virtual uint32_t LastTick() const = 0;
    // Forgets the time since the last tick, so that a pause does not count.
    virtual void Restart() = 0;
};

// One frame per tick, each standing for the same number of milliseconds,
// without waiting.
class TVirtualFrameClock final : public TFrameClock {
public:
    explicit TVirtualFrameClock(int32_t stepMs) : stepMs_(stepMs) {}
    std::optional<int32_t> NextFrame() override;
    uint32_t LastTick() const override { return now_; }
    void Restart() override {}

private:
    int32_t stepMs_;
    uint32_t now_ = 0;
};

// The real-time pace: a tick every kPeriodMs, the wait being the period less
// the time the previous frame took (at least 1 ms); a tick whose distance to
// the previous one is kGapMs or more (the process was suspended, a frame took
// too long) runs no frame and adds no script time.
class TRealTimeFrameClock final : public TFrameClock {
public:
    static constexpr uint32_t kPeriodMs = 15;
    static constexpr uint32_t kGapMs = 300;

    explicit TRealTimeFrameClock(TMillisecondSource& source);
    std::optional<int32_t> NextFrame() override;
    uint32_t LastTick() const override { return lastTick_; }
    void Restart() override;

private:
    TMillisecondSource& source_;
    uint32_t last_;      // the previous tick, frame or not
    uint32_t lastTick_;  // the previous frame's tick
    bool started_ = false;
};

}  // namespace tova
