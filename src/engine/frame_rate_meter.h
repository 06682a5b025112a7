// The measured frame rate: the frames drawn per second over each stretch of
// about two seconds of frame time. Ticks that ran no frame (the gap after a
// suspension) count no time, so a pause does not lower the rate.
#pragma once

#include <cstdint>
#include <optional>

namespace tova {

class TFrameRateMeter {
public:
    static constexpr int32_t kPeriodMs = 2000;

    void Drew() { ++drawn_; }
    // Adds a frame's milliseconds; once a period is full, returns the frames
    // drawn per second over it (rounded down) and starts the next period.
    std::optional<int32_t> Add(int32_t elapsedMs) {
        elapsed_ += elapsedMs;
        if (elapsed_ < kPeriodMs) return std::nullopt;
        const int32_t rate = static_cast<int32_t>(drawn_ * 1000 / elapsed_);
        drawn_ = 0;
        elapsed_ = 0;
        return rate;
    }

private:
    int64_t drawn_ = 0;
    int64_t elapsed_ = 0;
};

}  // namespace tova
