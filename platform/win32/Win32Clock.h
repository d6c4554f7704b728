// The monotonic clock on Win32 (steady_clock is QueryPerformanceCounter there).
#pragma once

#include "platform/Clock.h"

namespace quorvane::platform::win32 {

class Win32Clock : public Clock {
public:
    TimePoint now() override { return std::chrono::steady_clock::now(); }
};

} // namespace quorvane::platform::win32
