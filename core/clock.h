// The clock seam: today and the current local time. Tests hand in a fixed clock.
#pragma once

#include "core/date_key.h"

#include <chrono>

namespace orvane {

struct LocalTime {
    Date date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
    Date Today() const { return Now().date; }
};

// The computer's clock in its local time zone.
class SystemClock final : public Clock {
public:
    LocalTime Now() const override;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(LocalTime now)
        : now_(now) { }
    explicit FixedClock(Date today)
        : now_ { today, 12, 0, 0 } { }
    LocalTime Now() const override { return now_; }
    void Set(LocalTime now) { now_ = now; }

private:
    LocalTime now_;
};

} // namespace orvane
