// The Send operation around the transfers: selection, window walk, activation, the keystroke guard, file
// failures, a second Send, abandoning, and the common end on every path.
#include "TransferRig.h"

#include <gtest/gtest.h>

namespace quorvane::engine::test {
namespace {

using namespace std::chrono_literals;
using Entries = std::vector<std::string>;

TEST(SendOperation, TheWholeTranscriptOfAShortTransfer) {
    TransferRig rig;
    rig.writeFile("A");
    rig.host.charFactor = "5";
    rig.host.lineFactor = "5";
    EXPECT_EQ(rig.send(), SendResult::Completed);
    EXPECT_EQ(rig.transcript.entries(),
              (Entries{"pass", "pass", "STOP! shown", "activate #7", "restrict #7", delay(1000), key("A"),
                       passes(25000), delay(500), "restrict none", "finish", "STOP! hidden"}));
    EXPECT_FALSE(rig.operation.running());
}

TEST(SendOperation, NothingSelectedOnlyWarns) {
    TransferRig rig;
    rig.host.selected.reset();
    EXPECT_EQ(rig.send(), SendResult::NothingSelected);
    EXPECT_EQ(rig.transcript.entries(), (Entries{"message warning: Select a text file to send."}));
    EXPECT_EQ(rig.desktop.walks(), 0u);
    EXPECT_EQ(rig.dialogs.messages().front().title, "Quorvane");
}

struct WalkCase {
    const char *name;
    std::vector<platform::TopLevelWindow> windows; // topmost first
    std::string term;
    std::optional<platform::WindowId> activated;
    std::string notice = {}; // after "notice "; only when more than one window matched
};

// The own window (id 1, "Quorvane") is always first; ids from 10 are the case's windows.
TEST(SendOperation, TheWindowWalkPicksTheLastVisibleMatch) {
    const WalkCase cases[] = {
        {"Tera Term", {{10, "COM1 - Tera Term VT", true}}, "Tera Term", 10},
        {"letter case matters", {{10, "com1 - tera term vt", true}}, "Tera Term", std::nullopt},
        {"last match wins",
         {{10, "A Tera Term", true}, {11, "B Tera Term", true}},
         "Tera Term",
         11,
         "Typing into \"B Tera Term\", the lowest in the stacking order; another window's title matches as well."},
        {"three matches",
         {{10, "A minicom", true}, {11, "B minicom", true}, {12, "C minicom", true}},
         "minicom",
         12,
         "Typing into \"C minicom\", the lowest in the stacking order; 2 other windows' titles match as well."},
        {"hidden windows are skipped", {{10, "A Tera Term", true}, {11, "B Tera Term", false}}, "Tera Term", 10},
        {"empty titles are skipped", {{10, "", true}, {11, "HyperTerminal", true}}, "HyperTerminal", 11},
        {"own caption is skipped", {{10, "Quorvane", true}}, "Quorvane", std::nullopt},
        {"both terms in one title",
         {{10, "Tera Term HyperTerminal", true}, {11, "Tera Term", true}},
         "HyperTerminal",
         10},
        {"the option decides", {{10, "HyperTerminal", true}, {11, "Tera Term", true}}, "HyperTerminal", 10},
        {"other term",
         {{10, "minicom", true}, {11, "xterm: minicom", true}, {12, "Tera Term", true}},
         "minicom",
         11,
         "Typing into \"xterm: minicom\", the lowest in the stacking order; another window's title matches as "
         "well."},
        {"no terminal", {{10, "Editor", true}}, "Tera Term", std::nullopt},
    };
    for (const auto &c : cases) {
        TransferRig rig;
        rig.desktop.removeWindow(kTeraTermWindow);
        for (const auto &window : c.windows) {
            rig.desktop.addWindow(window.id, window.title, window.visible);
        }
        rig.host.term = c.term;
        rig.writeFile("A");
        const SendResult result = rig.send();
        const auto &entries = rig.transcript.entries();
        EXPECT_EQ(std::count(entries.begin(), entries.end(), "pass"), static_cast<long>(c.windows.size() + 1))
            << c.name;
        Entries notices;
        std::copy_if(entries.begin(), entries.end(), std::back_inserter(notices),
                     [](const std::string &entry) { return entry.starts_with("notice "); });
        EXPECT_EQ(notices, c.notice.empty() ? Entries{} : Entries{"notice " + c.notice}) << c.name;
        if (c.activated) {
            EXPECT_EQ(result, SendResult::Completed) << c.name;
            EXPECT_EQ(entries[c.windows.size() + 2], "activate #" + std::to_string(*c.activated)) << c.name;
        } else {
            EXPECT_EQ(result, SendResult::TerminalNotFound) << c.name;
            EXPECT_TRUE(rig.typed().empty()) << c.name;
        }
    }
}

TEST(SendOperation, ATerminalThatIsNotRunningEndsThroughTheCommonEnd) {
    for (const bool refused : {false, true}) {
        TransferRig rig;
        if (refused) {
            rig.desktop.refuseActivation(kTeraTermWindow);
        } else {
            rig.desktop.removeWindow(kTeraTermWindow);
        }
        rig.writeFile("A");
        EXPECT_EQ(rig.send(), SendResult::TerminalNotFound);
        const auto &entries = rig.transcript.entries();
        ASSERT_GE(entries.size(), 3u);
        EXPECT_EQ(Entries(entries.end() - 3, entries.end()),
                  (Entries{"finish", "message plain: " + std::string(kTerminalNotRunningText), "STOP! hidden"}));
        EXPECT_TRUE(rig.typed().empty());
        EXPECT_EQ(std::count(entries.begin(), entries.end(), delay(1000)), 0);
    }
}

TEST(SendOperation, TheWalkWorksOnASnapshotAndTheSelectionIsTakenBeforeIt) {
    TransferRig rig;
    rig.writeFile("A");
    rig.pump.atPass(1, [&] {
        rig.host.selected = "gone";
        rig.host.type = FileType::HexDump;
        rig.desktop.addWindow(20, "Another Tera Term");
    });
    EXPECT_EQ(rig.send(), SendResult::Completed);
    EXPECT_EQ(rig.typed(), Entries{"A"});
    EXPECT_EQ(std::count(rig.transcript.entries().begin(), rig.transcript.entries().end(), "activate #7"), 1);
}

TEST(SendOperation, ARootFolderGivesADoubledSeparatorThatStillOpens) {
    TransferRig rig;
    rig.writeFile("A");
    rig.host.folder =
        rig.folder.string() + std::string(1, static_cast<char>(std::filesystem::path::preferred_separator));
    EXPECT_EQ(rig.send(), SendResult::Completed);
    EXPECT_EQ(rig.typed(), Entries{"A"});
}

TEST(SendOperation, AFileThatCannotBeReadIsReportedByNameAndReason) {
    for (const FileType type : {FileType::Loader, FileType::TaggedObject, FileType::HexDump, FileType::Text}) {
        TransferRig rig;
        rig.host.type = type;
        rig.host.selected = "missing.txt";
        EXPECT_EQ(rig.send(), SendResult::FileError);
        ASSERT_EQ(rig.dialogs.messages().size(), 1u);
        const auto &message = rig.dialogs.messages().front();
        EXPECT_EQ(message.icon, platform::MessageIcon::Error);
        EXPECT_NE(message.text.find("missing.txt"), std::string::npos) << message.text;
        EXPECT_NE(message.text.find("does not exist"), std::string::npos) << message.text;
        EXPECT_EQ(rig.transcript.entries().back(), "STOP! hidden");
        EXPECT_TRUE(rig.typed().empty());
        EXPECT_FALSE(rig.operation.running());
    }
}

TEST(SendOperation, ASecondSendWhileRunningIsIgnored) {
    TransferRig rig;
    rig.writeFile("AB");
    std::optional<SendResult> second;
    bool runningInside = false;
    rig.pump.at(1005ms, [&] {
        runningInside = rig.operation.running();
        second = rig.send();
    });
    EXPECT_EQ(rig.send(), SendResult::Completed);
    EXPECT_TRUE(runningInside);
    EXPECT_EQ(second, SendResult::AlreadyRunning);
    EXPECT_EQ(rig.typed(), (Entries{"A", "B"}));
    EXPECT_EQ(rig.desktop.walks(), 1u);
    EXPECT_FALSE(rig.operation.running());
}

TEST(SendOperation, ASendDuringTheWalkIsIgnoredToo) {
    TransferRig rig;
    rig.writeFile("A");
    std::optional<SendResult> second;
    rig.pump.atPass(1, [&] { second = rig.send(); });
    EXPECT_EQ(rig.send(), SendResult::Completed);
    EXPECT_EQ(second, SendResult::AlreadyRunning);
}

TEST(SendOperation, TheKeystrokeGuardBringsTheTerminalBack) {
    TransferRig rig;
    rig.writeFile("AB");
    rig.pump.at(1005ms, [&] { rig.desktop.setForeground(kOwnWindow); });
    EXPECT_EQ(rig.send(), SendResult::Completed);
    EXPECT_EQ(rig.afterInitialWait(), (Entries{key("A"), passes(5000), "activate #7", key("B"), passes(5000),
                                               delay(100), "restrict none", "finish", "STOP! hidden"}));
}

// The user clicks into Quorvane's own window (a factor box, say) 5 ms into the character wait after "A", and
// at 2 s does what the case says.
struct HoldCase {
    const char *name;
    bool ownWindow; // else a window of another program took the focus
    void (*at2s)(TransferRig &);
    SendResult result;
    Entries afterA; // the transcript from the wait after "A" to the next keystroke
};

class HoldWhileOwnWindowFocused : public ::testing::TestWithParam<HoldCase> {};

TEST_P(HoldWhileOwnWindowFocused, TypesNothingAndTakesNothingBackUntilTheUserGoesOn) {
    const HoldCase &c = GetParam();
    TransferRig rig;
    rig.desktop.markOwn(kOwnWindow);
    rig.writeFile("AB\r\nC");
    rig.pump.at(1005ms, [&] { rig.desktop.setForeground(c.ownWindow ? kOwnWindow : 42); });
    rig.pump.at(2s, [&] { c.at2s(rig); });
    EXPECT_EQ(rig.send(), c.result);
    const Entries after = rig.afterInitialWait();
    const auto a = std::find(after.begin(), after.end(), key("A"));
    ASSERT_NE(a, after.end());
    const auto next = std::find_if(a + 1, after.end(), [](const std::string &e) { return e.starts_with("type "); });
    EXPECT_EQ(Entries(a + 1, next), c.afterA);
}

void returnToTerminal(TransferRig &rig) { rig.desktop.setForeground(kTeraTermWindow); }
void confirmTheBox(TransferRig &rig) { rig.operation.resume(); }
void clickStop(TransferRig &rig) { rig.host.clickStop(); }
void quit(TransferRig &rig) { rig.operation.abandon(); }
void nothing(TransferRig &) {}

// The wait after "A" ends at 1.010 s; a hold looks at the focus every 20 ms, so it ends at 2.010 s.
INSTANTIATE_TEST_SUITE_P(FocusInTheOwnWindow, HoldWhileOwnWindowFocused,
                         ::testing::Values(HoldCase{"user_returns_to_the_terminal",
                                                    true,
                                                    returnToTerminal,
                                                    SendResult::Completed,
                                                    {"wait 10000us", "hold", "wait 1000000us", "go on"}},
                                           HoldCase{"user_confirms_the_box",
                                                    true,
                                                    confirmTheBox,
                                                    SendResult::Completed,
                                                    {"wait 10000us", "hold", "wait 1000000us", "go on", "activate #7"}},
                                           HoldCase{"stop_finishes_the_line",
                                                    true,
                                                    clickStop,
                                                    SendResult::Stopped,
                                                    {"wait 10000us", "hold", "wait 1000000us", "STOP! clicked", "go on",
                                                     "activate #7"}},
                                           HoldCase{"quit_ends_at_once",
                                                    true,
                                                    quit,
                                                    SendResult::Abandoned,
                                                    {"wait 10000us", "hold", "wait 1000000us", "go on", "restrict none",
                                                     "finish", "STOP! hidden"}},
                                           HoldCase{"another_program_is_handled_at_once",
                                                    false,
                                                    nothing,
                                                    SendResult::Completed,
                                                    {"wait 10000us", "activate #7"}}),
                         [](const ::testing::TestParamInfo<HoldCase> &param) { return std::string(param.param.name); });

TEST(SendOperation, ALostTerminalEndsTheTransferWithNothingTypedElsewhere) {
    for (const bool closed : {true, false}) {
        TransferRig rig;
        rig.writeFile("AB\r\nCD");
        rig.pump.at(1005ms, [&] {
            rig.desktop.setForeground(kOwnWindow);
            if (closed) {
                rig.desktop.removeWindow(kTeraTermWindow);
            } else {
                rig.desktop.refuseActivation(kTeraTermWindow);
            }
        });
        EXPECT_EQ(rig.send(), SendResult::TerminalLost);
        EXPECT_EQ(rig.afterInitialWait(),
                  (Entries{key("A"), passes(5000), "activate #7 failed", "restrict none", "finish",
                           "message error: " + std::string(kTerminalLostText), "STOP! hidden"}));
    }
}

TEST(SendOperation, AbandonEndsAtOnceAndRunsTheCommonEnd) {
    const struct {
        const char *name;
        std::chrono::nanoseconds when;
        std::size_t keys;
    } cases[] = {
        {"during the initial wait", 500ms, 0},
        {"during a character wait", 1005ms, 1},
        {"during a line wait", 1030ms, 3},
    };
    for (const auto &c : cases) {
        TransferRig rig;
        rig.writeFile("AB\r\nCD");
        rig.pump.at(c.when, [&] { rig.operation.abandon(); });
        EXPECT_EQ(rig.send(), SendResult::Abandoned) << c.name;
        EXPECT_EQ(rig.typed().size(), c.keys) << c.name;
        // A character wait notices within its 20 ms slice; a Delay at once.
        EXPECT_GE(rig.clock.elapsed(), c.when) << c.name;
        EXPECT_LE(rig.clock.elapsed(), c.when + 20ms) << c.name;
        const auto &entries = rig.transcript.entries();
        EXPECT_EQ(Entries(entries.end() - 2, entries.end()), (Entries{"finish", "STOP! hidden"})) << c.name;
    }
}

TEST(SendOperation, AbandonDuringTheWalkActivatesNothing) {
    TransferRig rig;
    rig.writeFile("A");
    rig.pump.atPass(1, [&] { rig.operation.abandon(); });
    EXPECT_EQ(rig.send(), SendResult::Abandoned);
    EXPECT_EQ(rig.transcript.entries(), (Entries{"pass", "restrict none", "finish", "STOP! hidden"}));
}

TEST(SendOperation, AnAbandonedOperationCanSendAgain) {
    TransferRig rig;
    rig.writeFile("A");
    rig.operation.abandon();
    EXPECT_EQ(rig.send(), SendResult::Completed);
    EXPECT_EQ(rig.typed(), Entries{"A"});
}

} // namespace
} // namespace quorvane::engine::test
