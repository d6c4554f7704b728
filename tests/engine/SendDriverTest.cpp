// The Send driver with the real keystroke synthesiser: key events reach the injector, and the common end
// finishes it on every path.
#include "engine/SendDriver.h"
#include "TransferRig.h"

#include <gtest/gtest.h>

namespace quorvane::engine::test {
namespace {

// Counts the passes of the event loop, and those that came while the injector still held its batch.
class WatchingPump : public platform::EventPump {
public:
    WatchingPump(platform::EventPump &pump, const platform::RecordingInjector &injector)
        : m_pump(pump), m_injector(injector) {}
    void processPendingEvents() override {
        note();
        m_pump.processPendingEvents();
    }
    void waitForEvents() override {
        note();
        m_pump.waitForEvents();
    }
    void processEventsUntil(platform::Clock::TimePoint deadline) override {
        note();
        m_pump.processEventsUntil(deadline);
    }

    int calls = 0;
    int callsWhileHeld = 0;

private:
    void note() {
        ++calls;
        callsWhileHeld += m_injector.holdsBatch() ? 1 : 0;
    }
    platform::EventPump &m_pump;
    const platform::RecordingInjector &m_injector;
};

// Counts what the host was told while the injector still held its batch: on X11 a window that draws then waits on
// a display server that our own grab holds, and never returns.
class WatchingHost : public FakeHost {
public:
    explicit WatchingHost(const platform::RecordingInjector &injector) : m_injector(injector) {}

    void setStopVisible(bool visible) override {
        watch();
        FakeHost::setStopVisible(visible);
    }
    void progress(std::uint64_t done, std::uint64_t total) override {
        watch();
        FakeHost::progress(done, total);
    }
    void holding(bool held) override {
        watch();
        FakeHost::holding(held);
    }
    void notice(std::string_view text) override {
        watch();
        ++notices;
        FakeHost::notice(text);
    }

    int callsWhileHeld = 0;
    int notices = 0;

private:
    void watch() { callsWhileHeld += m_injector.holdsBatch() ? 1 : 0; }
    const platform::RecordingInjector &m_injector;
};

// The driver with the real synthesiser on the fake platform; with a transcript, the fakes record into it in order.
struct DriverRig : quorvane::test::FakePlatform {
    explicit DriverRig(platform::Transcript *transcript = nullptr) : FakePlatform(transcript), host(injector) {
        desktop.addWindow(kTeraTermWindow, "Tera Term");
        host.folder = files.path().string();
    }
    void writeFile(std::string_view bytes) { files.write(*host.selected, bytes); }

    WatchingHost host;
    quorvane::test::TempFolder files{"quorvane-driver-"};
    WatchingPump watchedPump{pump, injector};
    SendDriver driver{host, {desktop, layout, injector, watchedPump, timer, clock, dialogs}};
};

TEST(SendDriver, KeystrokesReachTheInjectorOneBatchPerString) {
    const struct {
        std::string_view file;
        std::string records;
    } cases[] = {
        {"a", "A↓ A↑"},
        {"a+", "A↓ A↑ | Shift↓ OemPlus↓ OemPlus↑ Shift↑"},
        {"\f", "Ctrl↓ L↓ L↑ Ctrl↑"},
        {"{", "Shift↓ Oem4↓ Oem4↑ Shift↑"},
        {"a\nb", "A↓ A↑ | Enter↓ Enter↑ | B↓ B↑"},
    };
    for (const auto &c : cases) {
        DriverRig rig;
        rig.writeFile(c.file);
        EXPECT_EQ(rig.driver.Send(), SendResult::Completed);
        EXPECT_EQ(rig.injector.transcript(), c.records) << testing::PrintToString(c.file);
        EXPECT_EQ(rig.injector.finishCount(), 1u);
        EXPECT_FALSE(rig.driver.running());
    }
}

TEST(SendDriver, EveryEndFinishesTheInjectorAndOnlyCompletedIsSuccess) {
    DriverRig missing;
    missing.host.selected = "missing";
    EXPECT_EQ(missing.driver.Send(), SendResult::FileError);
    EXPECT_EQ(missing.injector.finishCount(), 1u);

    DriverRig noTerminal;
    noTerminal.writeFile("abc");
    noTerminal.desktop.removeWindow(kTeraTermWindow);
    EXPECT_EQ(noTerminal.driver.Send(), SendResult::TerminalNotFound);
    EXPECT_EQ(noTerminal.injector.finishCount(), 1u);

    DriverRig abandoned;
    abandoned.writeFile("abc");
    abandoned.pump.at(std::chrono::milliseconds(500), [&] { abandoned.driver.abandon(); });
    EXPECT_EQ(abandoned.driver.Send(), SendResult::Abandoned);
    EXPECT_EQ(abandoned.injector.finishCount(), 1u);
    EXPECT_TRUE(abandoned.injector.batches().empty());
    EXPECT_FALSE(abandoned.host.stopShown);
}

// The injector refuses a string when the focus has left the terminal although the cached focus still names it:
// the terminal is activated again and the string typed once more, whole; a second refusal loses the terminal.
TEST(SendDriver, RefusedStringIsTypedOnceAfterReactivation) {
    const std::vector<std::string> start = {"pass",         "activate #7",  "restrict #7",
                                            "delay 1000ms", "keys refused", "activate #7"};
    const struct {
        std::size_t refused;
        SendResult result;
        std::vector<std::string> rest;
    } cases[] = {
        {1,
         SendResult::Completed,
         {"keys A↓ A↑", "wait 10000us", "keys B↓ B↑", "wait 10000us", "delay 100ms", "restrict none", "finish"}},
        {2,
         SendResult::TerminalLost,
         {"keys refused", "restrict none", "finish", "message error: " + std::string(kTerminalLostText)}},
        {100,
         SendResult::TerminalLost,
         {"keys refused", "restrict none", "finish", "message error: " + std::string(kTerminalLostText)}},
    };
    for (const auto &c : cases) {
        platform::Transcript transcript;
        DriverRig rig(&transcript);
        rig.writeFile("ab");
        rig.injector.refuseNextBatches(c.refused);
        EXPECT_EQ(rig.driver.Send(), c.result) << c.refused;
        std::vector<std::string> expected = start;
        expected.insert(expected.end(), c.rest.begin(), c.rest.end());
        EXPECT_EQ(transcript.entries(), expected) << c.refused;
        EXPECT_FALSE(rig.injector.restriction().has_value());
    }
}

TEST(SendDriver, ActivationFailureAfterARefusalLosesTheTerminal) {
    platform::Transcript transcript;
    DriverRig rig(&transcript);
    rig.writeFile("ab");
    rig.injector.refuseNextBatches(1);
    rig.pump.at(std::chrono::milliseconds(500), [&] { rig.desktop.refuseActivation(kTeraTermWindow); });
    EXPECT_EQ(rig.driver.Send(), SendResult::TerminalLost);
    const std::vector<std::string> expected = {
        "pass",          "activate #7",  "restrict #7",
        "delay 1000ms",  "keys refused", "activate #7 failed",
        "restrict none", "finish",       "message error: " + std::string(kTerminalLostText)};
    EXPECT_EQ(transcript.entries(), expected);
}

// Our own window and every other program must run during the waits: no pass of the event loop while the
// injector holds what it keeps between back-to-back strings.
TEST(SendDriver, TheInjectorLetsGoBeforeEveryPassOfTheEventLoop) {
    for (const char *factor : {"1.0", "0"}) {
        DriverRig rig;
        rig.host.charFactor = factor;
        rig.host.lineFactor = factor;
        rig.writeFile("ab\ncd\ne");
        EXPECT_EQ(rig.driver.Send(), SendResult::Completed);
        EXPECT_EQ(rig.injector.batches().size(), 7u);
        EXPECT_GT(rig.watchedPump.calls, 0) << factor;
        EXPECT_EQ(rig.watchedPump.callsWhileHeld, 0) << factor;
    }
}

// The window hears of the transfer only once the injector has let go, and the last figures reach it before the
// transfer's end is shown.
TEST(SendDriver, TheHostIsToldNothingWhileTheInjectorHoldsItsBatch) {
    const struct {
        const char *name;
        FileType type;
        std::string_view file;
        const char *factor;
        bool secondTerminal;
    } cases[] = {
        {"text, paced", FileType::Text, "ab\ncd\ne", "1.0", false},
        {"text, factors 0", FileType::Text, "ab\ncd\ne", "0", false},
        {"text, two terminals", FileType::Text, "ab", "0", true},
        {"text, one line", FileType::Text, "abcdefghijklmnopqrstuvwxyz", "0", false},
        {"hex dump, factors 0", FileType::HexDump, "\x01\x23\x45\x67\x89", "0", false},
    };
    for (const auto &c : cases) {
        DriverRig rig;
        rig.host.type = c.type;
        rig.host.charFactor = c.factor;
        rig.host.lineFactor = c.factor;
        if (c.secondTerminal) {
            rig.desktop.addWindow(kTeraTermWindow + 1, "Tera Term");
        }
        rig.writeFile(c.file);
        EXPECT_EQ(rig.driver.Send(), SendResult::Completed) << c.name;
        EXPECT_EQ(rig.host.callsWhileHeld, 0) << c.name;
        ASSERT_FALSE(rig.host.progressReports.empty()) << c.name;
        EXPECT_EQ(rig.host.progressReports.back(), std::make_pair(c.file.size(), c.file.size())) << c.name;
        EXPECT_EQ(rig.host.notices, c.secondTerminal ? 1 : 0) << c.name;
    }
}

// A character the keyboard cannot type is not the terminal's fault: no second activation, and the message says
// which character it was.
TEST(SendDriver, ACharacterWithNoKeyEndsTheTransferNamingIt) {
    using Reason = platform::InjectRefusal::Reason;
    const struct {
        char32_t character;
        std::string named;
    } cases[] = {
        {U'\u01C5', "The character \"\u01C5\" (U+01C5) cannot be typed"},
        {U'\U0001F600', "The character \"\U0001F600\" (U+1F600) cannot be typed"},
        {U'\x01', "The character U+0001 cannot be typed"},
        {0, "A key that the file needs is not on this keyboard."},
    };
    for (const auto &c : cases) {
        platform::Transcript transcript;
        DriverRig rig(&transcript);
        rig.writeFile("ab");
        rig.injector.refuseNextBatches(1);
        rig.injector.refuseWith({Reason::NoKey, c.character});
        EXPECT_EQ(rig.driver.Send(), SendResult::Untypable);
        const auto &entries = transcript.entries();
        ASSERT_EQ(entries.size(), 8u);
        EXPECT_EQ(std::vector<std::string>(entries.begin(), entries.begin() + 7),
                  (std::vector<std::string>{"pass", "activate #7", "restrict #7", "delay 1000ms", "keys refused",
                                            "restrict none", "finish"}));
        EXPECT_EQ(entries[7].rfind("message error: " + c.named, 0), 0u) << entries[7];
        EXPECT_NE(entries[7].find("The transfer has ended"), std::string::npos) << entries[7];
    }
}

} // namespace
} // namespace quorvane::engine::test
