#include "engine/frame_clock.h"

namespace tova {

std::optional<int32_t> TVirtualFrameClock::NextFrame() {
    now_ += static_cast<uint32_t>(stepMs_);
    return stepMs_;
}

TRealTimeFrameClock::TRealTimeFrameClock(TMillisecondSource& source)
    : source_(source), last_(source.Now()), lastTick_(last_) {}

std::optional<int32_t> TRealTimeFrameClock::NextFrame() {
    // The counter wraps at 32 bits; differences stay right across the wrap.
    const uint32_t busy = started_ ? source_.Now() - last_ : 0;
    started_ = true;
    source_.Sleep(busy + 1 >= kPeriodMs ? 1 : kPeriodMs - busy);
    const uint32_t now = source_.Now();
    const uint32_t delta = now - last_;
    last_ = now;
    if (delta >= kGapMs) return std::nullopt;
    lastTick_ = now;
    return static_cast<int32_t>(delta);
}

void TRealTimeFrameClock::Restart() {
    last_ = source_.Now();
    lastTick_ = last_;
    started_ = false;
}

}  // namespace tova
