// A single-shot QTimer with Qt::PreciseTimer, set to tick a little early and finished with short sleeps.
#include "platform/qt/QtTimer.h"

#include <algorithm>
#include <thread>

namespace quorvane::platform {

namespace {

using namespace std::chrono_literals;

// Qt rounds a timer's wait up to whole milliseconds and the system adds its own lateness, so a precise timer
// still ends up to a millisecond or two late. Aiming this much early and sleeping the rest in the tick keeps the
// tick within tens of microseconds; the event loop is held up for at most this long.
constexpr auto kEarly = 2ms;
// nanosleep overshoots by about the timer slack (50 microseconds by default on Linux).
constexpr auto kSleepOvershoot = 60us;

} // namespace

QtTimer::QtTimer() {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { onTimeout(); });
}

void QtTimer::start(std::chrono::milliseconds interval, std::function<void()> onTick) {
    const auto clamped = std::clamp(interval, std::chrono::milliseconds(1), std::chrono::milliseconds(65535));
    m_onTick = std::move(onTick);
    m_deadline = std::chrono::steady_clock::now() + clamped;
    m_timer.start(std::max(clamped - kEarly, std::chrono::milliseconds(0)));
}

void QtTimer::stop() { m_timer.stop(); }

void QtTimer::onTimeout() {
    for (auto now = std::chrono::steady_clock::now(); now < m_deadline; now = std::chrono::steady_clock::now()) {
        const auto remaining = m_deadline - now;
        if (remaining > kSleepOvershoot) {
            std::this_thread::sleep_for(remaining - kSleepOvershoot);
        }
    }
    // The handler may restart the timer with a new handler; run a copy.
    const std::function<void()> onTick = m_onTick;
    if (onTick) {
        onTick();
    }
}

} // namespace quorvane::platform
