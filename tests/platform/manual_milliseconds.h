// A millisecond clock for tests: it moves only when the code under test
// sleeps or the test advances it.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace tova::testing {

class TManualMilliseconds final : public TMillisecondSource {
public:
    explicit TManualMilliseconds(uint32_t start) : now_(start) {}
    uint32_t Now() override { return now_; }
    void Sleep(uint32_t ms) override { now_ += ms; }
    void Advance(uint32_t ms) { now_ += ms; }

private:
    uint32_t now_;
};

}  // namespace tova::testing
