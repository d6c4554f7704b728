// Whole transfers through the engine and the keystroke synthesiser with waits that cost nothing: prints
// keystrokes per second for a hex dump, a text file and an object file.
#include "engine/SendDriver.h"
#include "platform/fake/CapturedDialogs.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "platform/fake/ManualClock.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <utility>
#include <vector>

namespace {

using namespace quorvane;
using engine::FileType;

// A timer whose tick is due at once and a pump that delivers it: every wait returns immediately.
class InstantTimer : public platform::Timer {
public:
    void start(std::chrono::milliseconds, std::function<void()> onTick) override { m_onTick = std::move(onTick); }
    void stop() override { m_onTick = nullptr; }
    void fire() {
        if (auto onTick = std::exchange(m_onTick, nullptr)) {
            onTick();
        }
    }

private:
    std::function<void()> m_onTick;
};

class InstantPump : public platform::EventPump {
public:
    InstantPump(InstantTimer &timer, platform::ManualClock &clock) : m_timer(timer), m_clock(clock) {}
    void processPendingEvents() override {}
    void waitForEvents() override { m_timer.fire(); }
    void processEventsUntil(platform::Clock::TimePoint deadline) override { m_clock.advanceTo(deadline); }

private:
    InstantTimer &m_timer;
    platform::ManualClock &m_clock;
};

// Keeps nothing; counts the injections (one per key-sequence string that yields events) and the records.
class CountingInjector : public platform::KeyInjector {
public:
    std::size_t inject(std::span<const platform::KeyRecord> batch) override {
        ++injections;
        records += batch.size();
        return batch.size();
    }
    void finish() override {}
    std::size_t injections = 0;
    std::size_t records = 0;
};

std::string hexDump() {
    std::mt19937 random(1);
    std::string bytes(64 * 1024, '\0');
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(random() & 0xFF); });
    return bytes;
}

std::string textFile() {
    std::string text;
    for (int line = 0; line < 5000; ++line) {
        text += std::to_string(10 * line) + " PRINT \"VALUE\";(A+B)*C%2 {X} ~ END OF LINE\r\n";
    }
    return text;
}

std::string objectFile() {
    std::string text = "00040PROGNAME7FC2EF\r\n";
    char field[8];
    for (int record = 0; record < 2000; ++record) {
        std::snprintf(field, sizeof field, "9%04X", (record * 16) & 0xFFFF);
        text += field;
        for (int word = 0; word < 8; ++word) {
            std::snprintf(field, sizeof field, "B%04X", (record * 31 + word * 7) & 0xFFFF);
            text += field;
        }
        text += "7F00DF\r\n";
    }
    return text + ":\r\n";
}

void run(const char *name, FileType type, const std::string &bytes) {
    test::TempFolder files("quorvane-bench-");
    test::FakeHost host;
    host.select(files.write("input", bytes));
    host.type = type;
    host.charFactor = "0";
    host.lineFactor = "0";
    platform::FakeDesktop desktop;
    desktop.addWindow(7, "Tera Term");
    platform::FakeKeyboardLayout layout;
    platform::ManualClock clock;
    platform::CapturedDialogs dialogs;
    InstantTimer timer;
    InstantPump pump(timer, clock);
    std::vector<double> rates;
    std::size_t keystrokes = 0;
    for (int round = 0; round < 5; ++round) {
        CountingInjector injector;
        engine::SendDriver driver(host, {desktop, layout, injector, pump, timer, clock, dialogs});
        const auto start = std::chrono::steady_clock::now();
        const engine::SendResult result = driver.Send();
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        if (result != engine::SendResult::Completed) {
            std::printf("%-12s transfer did not complete\n", name);
            return;
        }
        keystrokes = injector.injections;
        rates.push_back(static_cast<double>(injector.injections) / seconds.count());
    }
    std::sort(rates.begin(), rates.end());
    std::printf("%-12s %8zu bytes %8zu keystrokes   median %6.2f M/s   best %6.2f M/s   worst %6.2f M/s\n", name,
                bytes.size(), keystrokes, rates[2] / 1e6, rates.back() / 1e6, rates.front() / 1e6);
}

} // namespace

int main() {
    std::printf("Whole transfers, factors 0, waits that return at once, injector that discards (5 rounds each)\n");
    run("hex dump", FileType::HexDump, hexDump());
    run("text", FileType::Text, textFile());
    run("object", FileType::TaggedObject, objectFile());
    run("loader", FileType::Loader, objectFile());
    return 0;
}
