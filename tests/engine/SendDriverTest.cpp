// The Send driver with the real keystroke synthesiser: key events reach the injector, and the common end
// finishes it on every path.
#include "engine/SendDriver.h"
#include "TransferRig.h"

#include <gtest/gtest.h>

namespace quorvane::engine::test {
namespace {

// The driver with the real synthesiser on the fake platform; with a transcript, the fakes record into it in order.
struct DriverRig : quorvane::test::FakePlatform {
    explicit DriverRig(platform::Transcript *transcript = nullptr) : FakePlatform(transcript) {
        desktop.addWindow(kTeraTermWindow, "Tera Term");
        host.folder = files.path().string();
    }
    void writeFile(std::string_view bytes) { files.write(*host.selected, bytes); }

    FakeHost host;
    quorvane::test::TempFolder files{"quorvane-driver-"};
    SendDriver driver{host, services()};
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

} // namespace
} // namespace quorvane::engine::test
