// Ending a transfer by SIGINT or SIGTERM, or by dropping the backend, restores the keymap and releases keys.
// GoogleTest first: Xlib defines macros (None, Bool) that its headers use as names.
#include <gtest/gtest.h>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/XQueries.h"
#include "tests/support/XSession.h"
#include "tests/support/Xterm.h"
#include "tests/x11/X11TestBackend.h"

#include <csignal>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

// Characters that no us key types: each is typed through a temporary binding.
const std::string kOutside = "é€Ωß“”ø";

class X11DriverTest : public testing::TestWithParam<int> {
protected:
    void SetUp() override {
        std::string error;
        m_session = XSession::start({}, error);
        ASSERT_TRUE(m_session) << error;
        m_terminal = CaptureTerminal::start(*m_session, "COM1 - Tera Term VT", error);
        ASSERT_TRUE(m_terminal) << error;
        m_before = keyboardState(m_session->display());
    }

    std::unique_ptr<XSession> m_session;
    std::unique_ptr<CaptureTerminal> m_terminal;
    KeyboardState m_before;
};

TEST_P(X11DriverTest, StopSignalEndsTheTransferInOrder) {
    const std::string file = m_session->tempDir() + "/text.txt";
    ASSERT_TRUE(writeFile(file, kOutside));
    auto env = m_session->environment();
    auto driver = ChildProcess::start({QUORVANE_X11DRIVER_PATH, "--hold", "Tera Term", file}, env,
                                      m_session->tempDir() + "/driver.log");
    ASSERT_TRUE(driver);
    EXPECT_EQ(m_terminal->take(kOutside.size()), kOutside);
    // The bindings are still in place while the driver holds the transfer open.
    EXPECT_NE(keyboardState(m_session->display()).keymap, m_before.keymap);
    ASSERT_EQ(kill(driver->pid(), GetParam()), 0);
    EXPECT_EQ(driver->waitForExit(10s), 0);
    const KeyboardState after = keyboardState(m_session->display());
    EXPECT_EQ(after, m_before) << describeDifference(m_before, after);
}

INSTANTIATE_TEST_SUITE_P(Signals, X11DriverTest, testing::Values(SIGINT, SIGTERM),
                         [](const testing::TestParamInfo<int> &param) {
                             return std::string(param.param == SIGINT ? "SIGINT" : "SIGTERM");
                         });

// Under openbox, with the focus on a newer terminal, the driver must pick the matching window lowest in the
// stacking order, activate it through the window manager and type there only.
TEST(X11DriverUnderWindowManagerTest, TypesIntoTheLowestMatchingTerminalOnly) {
    std::string error;
    auto session = XSession::start({.windowManager = true}, error);
    ASSERT_TRUE(session) << error;
    auto lower = CaptureTerminal::start(*session, "COM1 - Tera Term VT", error);
    ASSERT_TRUE(lower) << error;
    auto upper = CaptureTerminal::start(*session, "COM2 - Tera Term VT", error);
    ASSERT_TRUE(upper) << error;
    const KeyboardState before = keyboardState(session->display());
    const std::string text = "ABC xyz 123 (+^%~{}) é€Ω\r";
    const std::string file = session->tempDir() + "/text.txt";
    ASSERT_TRUE(writeFile(file, text));
    EXPECT_EQ(ChildProcess::run({QUORVANE_X11DRIVER_PATH, "Tera Term", file}, session->environment()), 0);
    EXPECT_EQ(lower->take(text.size()), text);
    EXPECT_EQ(upper->take(0, 0ms), "");
    const KeyboardState after = keyboardState(session->display());
    EXPECT_EQ(after, before) << describeDifference(before, after);
}

TEST(X11BackendLifetimeTest, DroppingTheBackendRestoresTheKeymap) {
    std::string error;
    auto session = XSession::start({}, error);
    ASSERT_TRUE(session) << error;
    auto terminal = CaptureTerminal::start(*session, "COM1 - Tera Term VT", error);
    ASSERT_TRUE(terminal) << error;
    const KeyboardState before = keyboardState(session->display());
    {
        auto backend = X11TestBackend::open(*session, error);
        ASSERT_TRUE(backend) << error;
        ASSERT_TRUE(backend.backend.desktop->activate(terminal->window()));
        // Held Shift and bound characters, and no finish(): the destructor must undo both. A Unicode
        // character is typed as itself whatever Shift does.
        backend.backend.injector->inject(std::vector<platform::KeyRecord>{{16, 0, 0}});
        backend.sendKeys->SendKeySequence(u"é€");
        EXPECT_EQ(terminal->take(std::string("é€").size()), "é€");
        EXPECT_NE(keyboardState(session->display()).keymap, before.keymap);
    }
    const KeyboardState after = keyboardState(session->display());
    EXPECT_EQ(after, before) << describeDifference(before, after);
}

} // namespace
} // namespace quorvane::test
