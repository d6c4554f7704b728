// The message pump and the one-shot timer: ticks only inside pump passes, never early, stop and restart.
#include "platform/win32/Win32EventPump.h"
#include "KeyCatcher.h"
#include "platform/win32/Win32Timer.h"

#include <gtest/gtest.h>

#include <thread>

namespace quorvane::platform::win32 {
namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;

TEST(Win32EventPump, PendingMessagesAreDispatchedAndQuitIsKept) {
    test::KeyCatcher window(L"pump target", false);
    Win32EventPump pump;
    PostMessageW(window.handle(), WM_CHAR, L'x', 0);
    PostMessageW(window.handle(), WM_CHAR, L'y', 0);
    EXPECT_TRUE(window.chars().empty());
    pump.processPendingEvents();
    EXPECT_EQ(window.chars(), L"xy");
    EXPECT_FALSE(pump.quitRequested());
    PostQuitMessage(0);
    pump.processPendingEvents();
    EXPECT_TRUE(pump.quitRequested());
}

TEST(Win32EventPump, ProcessEventsUntilHandlesMessagesAndReturnsOnlyAfterTheDeadline) {
    test::KeyCatcher window(L"pump target", false);
    Win32EventPump pump;
    for (const auto wait : {0ms, 1ms, 5ms, 40ms}) {
        const auto deadline = Steady::now() + wait;
        PostMessageW(window.handle(), WM_CHAR, L'a', 0);
        pump.processEventsUntil(deadline);
        EXPECT_GE(Steady::now(), deadline) << wait.count() << " ms";
    }
    EXPECT_EQ(window.chars(), L"aaaa");
}

TEST(Win32EventPump, WaitForEventsWakesForAMessageFromAnotherThread) {
    test::KeyCatcher window(L"pump target", false);
    Win32EventPump pump;
    const HWND target = window.handle();
    std::thread poster([target] {
        Sleep(30);
        PostMessageW(target, WM_CHAR, L'w', 0);
    });
    while (window.chars().empty()) {
        pump.waitForEvents();
    }
    poster.join();
    EXPECT_EQ(window.chars(), L"w");
}

TEST(Win32Timer, TicksOnceAfterItsIntervalInsideAPass) {
    Win32EventPump pump;
    Win32Timer timer;
    for (const auto interval : {1ms, 15ms, 60ms}) {
        int ticks = 0;
        Steady::time_point tickedAt{};
        const auto started = Steady::now();
        timer.start(interval, [&] {
            ++ticks;
            tickedAt = Steady::now();
        });
        Sleep(static_cast<DWORD>(interval.count()) + 20); // not alertable: no tick outside a pass
        EXPECT_EQ(ticks, 0);
        pump.processEventsUntil(Steady::now() + 30ms);
        EXPECT_EQ(ticks, 1) << interval.count() << " ms";
        EXPECT_GE(tickedAt - started, interval);
    }
}

TEST(Win32Timer, StopAndRestartDropTheEarlierTick) {
    Win32EventPump pump;
    Win32Timer timer;
    std::string ticks;
    timer.start(1ms, [&] { ticks += 'a'; });
    Sleep(20); // the period has run out; its tick waits for an alertable wait
    timer.stop();
    pump.processEventsUntil(Steady::now() + 20ms);
    EXPECT_EQ(ticks, "");

    timer.start(40ms, [&] { ticks += 'b'; });
    timer.start(5ms, [&] { ticks += 'c'; });
    pump.processEventsUntil(Steady::now() + 80ms);
    EXPECT_EQ(ticks, "c");
}

TEST(Win32Timer, ATickCanStartTheTimerAgain) {
    Win32EventPump pump;
    Win32Timer timer;
    int ticks = 0;
    std::function<void()> tick = [&] {
        if (++ticks < 3) {
            timer.start(2ms, tick);
        }
    };
    timer.start(2ms, tick);
    pump.processEventsUntil(Steady::now() + 100ms);
    EXPECT_EQ(ticks, 3);
}

TEST(Win32Timer, IntervalsOutsideTheTimerRangeAreClamped) {
    Win32EventPump pump;
    Win32Timer timer;
    int ticks = 0;
    timer.start(0ms, [&] { ++ticks; });
    pump.processEventsUntil(Steady::now() + 20ms);
    EXPECT_EQ(ticks, 1);
    timer.start(std::chrono::milliseconds(100000), [&] { ++ticks; });
    pump.processEventsUntil(Steady::now() + 20ms);
    EXPECT_EQ(ticks, 1);
    timer.stop();
}

} // namespace
} // namespace quorvane::platform::win32
