// A monotonic clock, so that waits can be tested on a clock that tests move by hand.
#pragma once

#include <chrono>

namespace quorvane::platform {

class Clock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~Clock() = default;
    virtual TimePoint now() = 0;
};

} // namespace quorvane::platform
