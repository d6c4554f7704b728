// Event-pump passes and deadline waits on QCoreApplication::processEvents.
#include "platform/qt/QtEventPump.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <thread>

namespace quorvane::platform {

namespace {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

// A precise Qt timer has whole-millisecond intervals and wakes a little late, so the blocking part of a wait
// ends this long before its deadline; the rest is covered by short sleeps with an event pass before each.
constexpr auto kTailLength = 2ms;
// nanosleep overshoots by about the thread's timer slack (50 microseconds by default on Linux); the last
// stretch shorter than this is spun with event passes instead.
constexpr auto kSleepOvershoot = 70us;
constexpr auto kLongestSleep = 250us;

} // namespace

QtEventPump::QtEventPump() {
    m_wake.setSingleShot(true);
    m_wake.setTimerType(Qt::PreciseTimer);
}

void QtEventPump::processPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventPump::waitForEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

// Blocks in the event loop, handling whatever arrives, until the wake timer has ticked.
void QtEventPump::blockUntil(Clock::TimePoint wakeAt) {
    const auto interval = std::chrono::duration_cast<std::chrono::milliseconds>(wakeAt - SteadyClock::now());
    if (interval < 1ms) {
        return;
    }
    m_wake.start(interval);
    while (m_wake.isActive() && SteadyClock::now() < wakeAt) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    m_wake.stop();
}

void QtEventPump::processEventsUntil(Clock::TimePoint deadline) {
    blockUntil(deadline - kTailLength);
    for (auto now = SteadyClock::now(); now < deadline; now = SteadyClock::now()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const auto remaining = deadline - SteadyClock::now();
        if (remaining > kSleepOvershoot) {
            std::this_thread::sleep_for(std::min<SteadyClock::duration>(remaining - kSleepOvershoot, kLongestSleep));
        }
    }
}

} // namespace quorvane::platform
