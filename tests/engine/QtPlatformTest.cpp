// The Qt event pump and timer under the engine's waits, on a real event loop.
#include "engine/Pacer.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtTimer.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace quorvane::platform {
namespace {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

class QtPlatformTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "engine_qt_platform_test";
        static char *argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }
    QtEventPump pump;
    QtTimer timer;
    QtClock clock;
};

TEST_F(QtPlatformTest, TheTimerTicksOnceAfterItsInterval) {
    int ticks = 0;
    const auto start = SteadyClock::now();
    SteadyClock::time_point tickedAt{};
    timer.start(20ms, [&] {
        ++ticks;
        tickedAt = SteadyClock::now();
    });
    pump.processEventsUntil(start + 80ms);
    EXPECT_EQ(ticks, 1);
    EXPECT_GE(tickedAt - start, 20ms);
}

TEST_F(QtPlatformTest, AStoppedTimerDoesNotTickAndARestartReplacesTheHandler) {
    int first = 0;
    int second = 0;
    timer.start(10ms, [&] { ++first; });
    timer.stop();
    pump.processEventsUntil(clock.now() + 30ms);
    timer.start(10ms, [&] { ++first; });
    timer.start(10ms, [&] { ++second; });
    pump.processEventsUntil(clock.now() + 40ms);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
}

TEST_F(QtPlatformTest, AWaitUntilADeadlineHandlesEventsAndNeverEndsEarly) {
    for (const std::chrono::microseconds length : {0us, 300us, 1500us, 12000us}) {
        bool handled = false;
        QTimer::singleShot(0, [&] { handled = true; });
        const auto deadline = clock.now() + length;
        pump.processEventsUntil(deadline);
        EXPECT_GE(SteadyClock::now(), deadline) << length.count();
        if (length >= 1500us) {
            EXPECT_TRUE(handled) << length.count();
        }
        pump.processPendingEvents();
        EXPECT_TRUE(handled);
    }
}

TEST_F(QtPlatformTest, WaitForEventsReturnsOnceAnEventHasBeenHandled) {
    bool handled = false;
    QTimer::singleShot(5, Qt::PreciseTimer, [&] { handled = true; });
    while (!handled) {
        pump.waitForEvents();
    }
    EXPECT_TRUE(handled);
}

TEST_F(QtPlatformTest, ADelayEndsOnItsTickAndAnAbandonEndsItEarly) {
    engine::Pacer pacer(pump, timer, clock);
    auto start = SteadyClock::now();
    pacer.Delay(0.03f, 1.0f);
    EXPECT_GE(SteadyClock::now() - start, 30ms);
    EXPECT_FALSE(pacer.WaitingForTimer());

    QTimer::singleShot(10, Qt::PreciseTimer, [&] { pacer.abandon(); });
    start = SteadyClock::now();
    pacer.Delay(60.0f, 1.0f);
    EXPECT_LT(SteadyClock::now() - start, 30s);
    EXPECT_FALSE(pacer.WaitingForTimer());
}

TEST_F(QtPlatformTest, ACharacterWaitLastsItsPasses) {
    engine::Pacer pacer(pump, timer, clock);
    const auto start = SteadyClock::now();
    pacer.CharDelay(5000.0f, 3.0f);
    EXPECT_GE(SteadyClock::now() - start, 15000 * engine::kCharDelayPassLength);
}

} // namespace
} // namespace quorvane::platform
