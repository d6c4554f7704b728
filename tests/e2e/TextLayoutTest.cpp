// Text with every printable ASCII character and characters outside the layout, typed under several keyboard
// layouts, with Caps Lock on and off, with and without a window manager.
// GoogleTest first: Xlib defines macros (None, Bool) that its headers use as names.
#include <gtest/gtest.h>

#include "tests/e2e/BoardTerminal.h"
#include "tests/e2e/ExpectedResults.h"
#include "tests/e2e/QuorvaneProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/XQueries.h"

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

struct LayoutCase {
    const char *name;
    const char *layout; // setxkbmap -layout
    int group;          // the group locked before the transfer
    bool capsLock;
    bool windowManager;
};

std::ostream &operator<<(std::ostream &out, const LayoutCase &c) { return out << c.name; }

// Every printable ASCII character, in lines of 32, then letters that are dead-key or AltGr combinations on
// some layouts and characters that no tested layout has a key for.
std::string textFileContent() {
    std::string content;
    for (char ch = ' '; ch <= '~'; ++ch) {
        content += ch;
        if ((ch - ' ') % 32 == 31) {
            content += "\r\n";
        }
    }
    content += "\r\n\u00e9 \u00df \u20ac \u03a9 \u201c\u201d \u00c9\u00e8\u00ea\u00e0\u00e7\u00f9\u00e4\u00f6\u00fc"
               "\u00c4\u00d6\u00dc\r\nEND\r\n";
    return content;
}

class TextLayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(TextLayoutTest, EveryCharacterArrivesExactly) {
    const LayoutCase &c = GetParam();
    std::string error;
    auto session = XSession::start({.windowManager = c.windowManager, .layout = c.layout}, error);
    ASSERT_TRUE(session) << error;
    ASSERT_TRUE(session->lockGroup(c.group));
    ASSERT_TRUE(session->setCapsLock(c.capsLock));
    auto board = BoardTerminal::start(*session, {"evmbug", "text", "COM1 - Tera Term VT", {}}, error);
    ASSERT_TRUE(board) << error;
    const std::string content = textFileContent();
    const std::string path = session->tempDir() + "/characters.txt";
    ASSERT_TRUE(writeFile(path, content));
    const std::string expected = typedText(content);
    const KeyboardState before = keyboardState(session->display());

    const SendOutcome outcome =
        runSend(*session, {"send", path, "--type", "text", "--char-factor", "0.05", "--line-factor", "0.1"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;

    EXPECT_EQ(board->waitForReceived([&](const std::string &bytes) { return bytes.size() >= expected.size(); }, 5s),
              expected);
    EXPECT_EQ(board->waitForQuiet(300ms, 2s), expected) << "more arrived after the text";
    const KeyboardState after = keyboardState(session->display());
    EXPECT_EQ(session->capsLockOn(), c.capsLock);
    EXPECT_EQ(session->activeGroup(), c.group);
    EXPECT_EQ(after.pressedKeycodes, before.pressedKeycodes) << describeDifference(before, after);
    EXPECT_EQ(after.baseModifiers, before.baseModifiers) << describeDifference(before, after);
}

INSTANTIATE_TEST_SUITE_P(Layouts, TextLayoutTest,
                         testing::Values(LayoutCase{"UsOpenbox", "us", 0, false, true},
                                         LayoutCase{"UsCapsLockBare", "us", 0, true, false},
                                         LayoutCase{"GermanOpenbox", "de", 0, false, true},
                                         LayoutCase{"GermanCapsLockBare", "de", 0, true, false},
                                         LayoutCase{"FrenchBare", "fr", 0, false, false},
                                         LayoutCase{"FrenchCapsLockOpenbox", "fr", 0, true, true},
                                         LayoutCase{"UsGermanSecondGroupOpenbox", "us,de", 1, false, true},
                                         LayoutCase{"UsGermanSecondGroupCapsLockBare", "us,de", 1, true, false}),
                         [](const testing::TestParamInfo<LayoutCase> &param) { return std::string(param.param.name); });

} // namespace
} // namespace quorvane::test
