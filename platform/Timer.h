// A one-shot timer whose tick runs on the user-interface thread, inside an event-pump pass.
#pragma once

#include <chrono>
#include <functional>

namespace quorvane::platform {

class Timer {
public:
    virtual ~Timer() = default;
    // Ticks once, `interval` from now (whole milliseconds, 1 to 65,535); restarts a running timer.
    virtual void start(std::chrono::milliseconds interval, std::function<void()> onTick) = 0;
    virtual void stop() = 0;
};

} // namespace quorvane::platform
