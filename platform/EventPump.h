// The event loop of the user-interface thread, run from inside a transfer's waits.
#pragma once

#include "platform/Clock.h"

namespace quorvane::platform {

class EventPump {
public:
    virtual ~EventPump() = default;
    // One pass: handles the events already queued (input, timer ticks, repaints), then returns.
    virtual void processPendingEvents() = 0;
    // Blocks until at least one event has arrived and handles what is queued then.
    virtual void waitForEvents() = 0;
    // Handles events as they arrive, blocking between them, until `deadline`; returns within
    // about 50 microseconds after it.
    virtual void processEventsUntil(Clock::TimePoint deadline) = 0;
};

} // namespace quorvane::platform
