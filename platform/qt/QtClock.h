// The monotonic clock that Qt's event loop and timers use.
#pragma once

#include "platform/Clock.h"

namespace quorvane::platform {

// Qt's timers run on CLOCK_MONOTONIC on Linux and QueryPerformanceCounter on Windows, the same sources as
// steady_clock, so deadlines computed here match the pump's.
class QtClock : public Clock {
public:
    TimePoint now() override { return std::chrono::steady_clock::now(); }
};

} // namespace quorvane::platform
