// A text file of one very long line through the engine on a real clock: prints the time to the first keystroke,
// the keystrokes per second after it and the peak resident memory, for a file of only "A" and for one whose
// first character lies outside ASCII (its character set must be known before that character is typed).
#include "engine/SendDriver.h"
#include "platform/fake/CapturedDialogs.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <thread>

#include <sys/resource.h>

namespace {

using namespace quorvane;
using Steady = std::chrono::steady_clock;

class SteadyClock : public platform::Clock {
public:
    TimePoint now() override { return Steady::now(); }
};

// A one-shot timer on the steady clock, fired by the pump below once it is due.
class SteadyTimer : public platform::Timer {
public:
    void start(std::chrono::milliseconds interval, std::function<void()> onTick) override {
        m_due = Steady::now() + interval;
        m_onTick = std::move(onTick);
    }
    void stop() override { m_due.reset(); }
    void fireIfDue(bool wait) {
        if (!m_due) {
            return;
        }
        if (wait) {
            std::this_thread::sleep_until(*m_due);
        }
        if (Steady::now() >= *m_due) {
            m_due.reset();
            m_onTick();
        }
    }

private:
    std::optional<Steady::time_point> m_due;
    std::function<void()> m_onTick;
};

class SteadyPump : public platform::EventPump {
public:
    explicit SteadyPump(SteadyTimer &timer) : m_timer(timer) {}
    void processPendingEvents() override { m_timer.fireIfDue(false); }
    void waitForEvents() override { m_timer.fireIfDue(true); }
    void processEventsUntil(platform::Clock::TimePoint deadline) override {
        std::this_thread::sleep_until(deadline);
        m_timer.fireIfDue(false);
    }

private:
    SteadyTimer &m_timer;
};

// Keeps nothing; notes the first keystroke and ends the transfer after `typing` of keystrokes.
class TimingInjector : public platform::KeyInjector {
public:
    std::size_t inject(std::span<const platform::KeyRecord> batch) override {
        const auto now = Steady::now();
        if (!first) {
            first = now;
        }
        ++injections;
        if (now - *first > std::chrono::seconds(2) && onLongEnough) {
            onLongEnough();
        }
        return batch.size();
    }
    void finish() override {}
    std::optional<Steady::time_point> first;
    std::size_t injections = 0;
    std::function<void()> onLongEnough;
};

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void writeLine(const std::string &path, std::uint64_t size, bool leadingE) {
    std::ofstream out(path, std::ios::binary);
    std::uint64_t written = 0;
    if (leadingE) {
        out << "\xC3\xA9";
        written = 2;
    }
    const std::string block(1 << 20, 'A');
    while (written < size) {
        const std::uint64_t piece = std::min<std::uint64_t>(block.size(), size - written);
        out.write(block.data(), static_cast<std::streamsize>(piece));
        written += piece;
    }
}

void run(const char *name, std::uint64_t size, bool leadingE) {
    test::TempFolder files("quorvane-bench-");
    const std::filesystem::path path = files.path() / "line.txt";
    writeLine(path.string(), size, leadingE);
    test::FakeHost host;
    host.select(path);
    host.charFactor = "0";
    host.lineFactor = "0";
    platform::FakeDesktop desktop;
    desktop.addWindow(7, "Tera Term");
    platform::FakeKeyboardLayout layout;
    platform::CapturedDialogs dialogs;
    SteadyClock clock;
    SteadyTimer timer;
    SteadyPump pump(timer);
    TimingInjector injector;
    engine::SendDriver driver(host, {desktop, layout, injector, pump, timer, clock, dialogs});
    injector.onLongEnough = [&driver] { driver.abandon(); };
    const long before = peakResidentKilobytes();
    const auto start = Steady::now();
    driver.Send();
    const auto end = Steady::now();
    if (!injector.first) {
        std::printf("%-22s nothing was typed\n", name);
        return;
    }
    const std::chrono::duration<double> toFirst = *injector.first - start;
    const std::chrono::duration<double> typing = end - *injector.first;
    std::printf("%-22s %6llu MB  first keystroke after %5.2f s  %7.0f keystrokes/s  peak RSS %5ld MB (%ld MB before)\n",
                name, static_cast<unsigned long long>(size >> 20), toFirst.count(),
                static_cast<double>(injector.injections) / typing.count(), peakResidentKilobytes() / 1024,
                before / 1024);
}

} // namespace

// Argument: the file's size in MB (default 1024).
int main(int argc, char **argv) {
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
    run("only A", megabytes << 20, false);
    run("leading U+00E9", megabytes << 20, true);
    return 0;
}
