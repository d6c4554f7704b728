// A single-shot QTimer with Qt::PreciseTimer: a coarse timer may fire up to 5 % of its interval early or late.
#include "platform/qt/QtTimer.h"

#include <algorithm>

namespace quorvane::platform {

QtTimer::QtTimer() {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        // The handler may restart the timer with a new handler; run a copy.
        const std::function<void()> onTick = m_onTick;
        if (onTick) {
            onTick();
        }
    });
}

void QtTimer::start(std::chrono::milliseconds interval, std::function<void()> onTick) {
    m_onTick = std::move(onTick);
    m_timer.start(std::clamp(interval, std::chrono::milliseconds(1), std::chrono::milliseconds(65535)));
}

void QtTimer::stop() { m_timer.stop(); }

} // namespace quorvane::platform
