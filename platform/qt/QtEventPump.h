// The event pump on Qt's event loop, with waits that block between events and end close to their deadline.
#pragma once

#include "platform/EventPump.h"

#include <QTimer>

namespace quorvane::platform {

class QtEventPump : public EventPump {
public:
    QtEventPump();

    void processPendingEvents() override;
    void waitForEvents() override;
    void processEventsUntil(Clock::TimePoint deadline) override;

private:
    void blockUntil(Clock::TimePoint wakeAt);

    QTimer m_wake; // ends a blocking wait; its tick only has to arrive
};

} // namespace quorvane::platform
