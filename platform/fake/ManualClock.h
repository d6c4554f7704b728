// A clock that only tests and the fake event pump move.
#pragma once

#include "platform/Clock.h"

namespace quorvane::platform {

class ManualClock : public Clock {
public:
    TimePoint now() override { return m_now; }
    // Moves forward only; a time in the past leaves the clock where it is.
    void advanceTo(TimePoint when) {
        if (when > m_now) {
            m_now = when;
        }
    }
    void advance(std::chrono::nanoseconds by) { advanceTo(m_now + by); }
    // Time since the clock's start, for readable expectations.
    std::chrono::nanoseconds elapsed() const { return m_now - TimePoint{}; }

private:
    TimePoint m_now{};
};

} // namespace quorvane::platform
