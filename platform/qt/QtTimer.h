// The one-shot window timer on a precise QTimer.
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
    QTimer m_timer;
    std::function<void()> m_onTick;
};

} // namespace quorvane::platform
