// The terminal's clock. Everything that waits or throttles (repaint throttle,
// ESC @ hold, serial drain, form download time-out, script waits) reads time
// here, so tests and the headless terminal can drive it.
#pragma once

#include <cstdint>

namespace kalvor {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a steady scale.
    virtual std::int64_t NowMs() const = 0;
    // Milliseconds since midnight (time of day) for trace times and file stamps.
    virtual std::int64_t TimeOfDayMs() const = 0;
};

// The real clock.
class SystemClock final : public Clock {
public:
    std::int64_t NowMs() const override;
    std::int64_t TimeOfDayMs() const override;
};

// A clock that moves only when told to; starts at 12:00:00.
class ManualClock final : public Clock {
public:
    static constexpr std::int64_t kNoon = 12LL * 3600 * 1000;
    std::int64_t NowMs() const override { return now_; }
    std::int64_t TimeOfDayMs() const override { return now_ % (24LL * 3600 * 1000); }
    void Advance(std::int64_t ms) { now_ += ms; }

private:
    std::int64_t now_ = kNoon;
};

} // namespace kalvor
