// The real waits on Qt's event loop: Delay and CharDelay error against their nominal length, and the CPU time
// they use per second of waiting, alone and under a paced text transfer.
#include "engine/Pacer.h"
#include "engine/SendDriver.h"
#include "platform/fake/CapturedDialogs.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "platform/fake/RecordingInjector.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtTimer.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

using namespace quorvane;
using SteadyClock = std::chrono::steady_clock;

struct Errors {
    double mean = 0;
    double worst = 0; // latest end
    double earliest = 0;
};

// Runs `wait` `rounds` times; errors in microseconds against `nominal`.
Errors measure(int rounds, std::chrono::nanoseconds nominal, const std::function<void()> &wait) {
    Errors errors{0, -1e18, 1e18};
    for (int i = 0; i < rounds; ++i) {
        const auto start = SteadyClock::now();
        wait();
        const double error = std::chrono::duration<double, std::micro>(SteadyClock::now() - start - nominal).count();
        errors.mean += error / rounds;
        errors.worst = std::max(errors.worst, error);
        errors.earliest = std::min(errors.earliest, error);
    }
    return errors;
}

// CPU time of the process per second of wall time, in percent of one core.
double cpuPercent(const std::function<void()> &work) {
    const std::clock_t cpuStart = std::clock();
    const auto start = SteadyClock::now();
    work();
    const double wall = std::chrono::duration<double>(SteadyClock::now() - start).count();
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    return 100.0 * cpu / wall;
}

void delayErrors(engine::Pacer &pacer) {
    std::printf("Delay error (actual - nominal), microseconds\n");
    for (const auto &[ms, rounds] : {std::pair{1, 200}, {10, 100}, {100, 20}, {1000, 3}}) {
        const Errors e = measure(rounds, std::chrono::milliseconds(ms),
                                 [&] { pacer.Delay(static_cast<float>(ms) / 1000.0f, 1.0f); });
        std::printf("  %5d ms x %3d   mean %+8.1f   worst late %+8.1f   earliest %+8.1f\n", ms, rounds, e.mean, e.worst,
                    e.earliest);
    }
}

void charDelayErrors(engine::Pacer &pacer) {
    std::printf("CharDelay error (actual - passes x %lld ns), microseconds\n",
                static_cast<long long>(engine::kCharDelayPassLength.count()));
    for (const auto &[passes, rounds] : {std::pair{1000, 200}, {10000, 50}, {100000, 10}}) {
        const Errors e = measure(rounds, passes * engine::kCharDelayPassLength,
                                 [&] { pacer.CharDelay(static_cast<float>(passes), 1.0f); });
        std::printf("  %6d passes x %3d   mean %+8.1f   worst late %+8.1f   earliest %+8.1f\n", passes, rounds, e.mean,
                    e.worst, e.earliest);
    }
}

void pacedTransfer(platform::EventPump &pump, platform::Timer &timer, platform::Clock &clock) {
    test::TempFolder files("quorvane-bench-");
    std::string text;
    for (int line = 0; line < 3; ++line) {
        text += "10 PRINT \"THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG\";(A+B)\r\n";
    }
    test::FakeHost host;
    host.select(files.write("paced.txt", text));
    platform::FakeDesktop desktop;
    desktop.addWindow(7, "Tera Term");
    platform::FakeKeyboardLayout layout;
    platform::DiscardingInjector injector;
    platform::CapturedDialogs dialogs;
    engine::SendDriver driver(host, {desktop, layout, injector, pump, timer, clock, dialogs});
    engine::SendResult result = engine::SendResult::Completed;
    const auto start = SteadyClock::now();
    const double percent = cpuPercent([&] { result = driver.Send(); });
    const double seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
    std::printf("  paced text transfer, factors 1.0: %zu characters in %.2f s (%s)   CPU %5.2f %% of one core\n",
                text.size(), seconds, result == engine::SendResult::Completed ? "completed" : "FAILED", percent);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    platform::QtEventPump pump;
    platform::QtTimer timer;
    platform::QtClock clock;
    engine::Pacer pacer(pump, timer, clock);

    delayErrors(pacer);
    charDelayErrors(pacer);
    std::printf("CPU time while waiting\n");
    std::printf("  Delay 100 ms x 10:           CPU %5.2f %% of one core\n", cpuPercent([&] {
                    for (int i = 0; i < 10; ++i) {
                        pacer.Delay(0.1f, 1.0f);
                    }
                }));
    std::printf("  CharDelay 5000 passes x 100: CPU %5.2f %% of one core\n", cpuPercent([&] {
                    for (int i = 0; i < 100; ++i) {
                        pacer.CharDelay(5000.0f, 1.0f);
                    }
                }));
    pacedTransfer(pump, timer, clock);
    return 0;
}
