// The one-shot window timer on a precise QTimer, finished to the exact interval.
#pragma once

#include "platform/Timer.h"

#include <QTimer>

namespace quorvane::platform {

class QtTimer : public Timer {
public:
    QtTimer();

    void start(std::chrono::milliseconds interval, std::function<void()> onTick) override;
    void stop() override;

private:
    void onTimeout();

    QTimer m_timer;
    std::function<void()> m_onTick;
    std::chrono::steady_clock::time_point m_deadline;
};

} // namespace quorvane::platform
