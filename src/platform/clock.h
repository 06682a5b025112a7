// The host's wall clock and millisecond counter.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <thread>

namespace tova {

struct TLocalDateTime {
    int Year = 0;
    int Month = 0;      // 1..12
    int Day = 0;        // 1..31
    int DayOfWeek = 0;  // 1 = Sunday .. 7 = Saturday
    int Hour = 0;       // 0..23
    int Min = 0;
    int Sec = 0;
};

// The current local date and time.
inline TLocalDateTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    TLocalDateTime result;
    result.Year = parts.tm_year + 1900;
    result.Month = parts.tm_mon + 1;
    result.Day = parts.tm_mday;
    result.DayOfWeek = parts.tm_wday + 1;
    result.Hour = parts.tm_hour;
    result.Min = parts.tm_min;
    result.Sec = parts.tm_sec;
    return result;
}

// Milliseconds of a monotonic clock, wrapping at 32 bits as the system tick
// counter of the original platform did.
inline uint32_t SystemTickCount() {
    const auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

// A millisecond counter that can also wait: the system's, or one a test
// moves by hand.
class TMillisecondSource {
public:
    virtual ~TMillisecondSource() = default;
    virtual uint32_t Now() = 0;
    virtual void Sleep(uint32_t ms) = 0;
};

// The system's monotonic millisecond counter.
class TSystemMilliseconds final : public TMillisecondSource {
public:
    uint32_t Now() override { return SystemTickCount(); }
    void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

}  // namespace tova
