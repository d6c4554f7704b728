// The test session itself: private displays, a capture terminal that receives typed bytes, nothing left behind.
// GoogleTest first: Xlib defines macros (None, Bool) that its headers use as names.
#include <gtest/gtest.h>

#include "tests/support/XQueries.h"
#include "tests/support/XSession.h"
#include "tests/support/Xterm.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <csignal>

namespace quorvane::test {
namespace {

void typeKeysym(Display *display, KeySym sym) {
    KeyCode code = XKeysymToKeycode(display, sym);
    XTestFakeKeyEvent(display, code, True, 0);
    XTestFakeKeyEvent(display, code, False, 0);
    XFlush(display);
}

TEST(XSessionTest, TwoSessionsGetDisplaysOfTheirOwn) {
    std::string error;
    auto first = XSession::start({}, error);
    ASSERT_TRUE(first) << error;
    auto second = XSession::start({}, error);
    ASSERT_TRUE(second) << error;
    EXPECT_NE(first->displayName(), second->displayName());
}

TEST(XSessionTest, CaptureTerminalReceivesRawBytesAndStopsCleanly) {
    std::string error;
    auto session = XSession::start({.windowManager = true}, error);
    ASSERT_TRUE(session) << error;
    ASSERT_TRUE(session->hasWindowManager());
    auto terminal = CaptureTerminal::start(*session, "COM1 - Tera Term VT", error);
    ASSERT_TRUE(terminal) << error;
    XSetInputFocus(session->display(), terminal->window(), RevertToParent, CurrentTime);
    // Return must stay CR and Ctrl+C must be a byte: the terminal is raw, not cooked.
    for (KeySym sym : {XK_a, XK_Return}) {
        typeKeysym(session->display(), sym);
    }
    EXPECT_EQ(terminal->take(2), "a\r");
    std::vector<pid_t> started = session->processes();
    started.push_back(terminal->xterm().pid());
    terminal.reset();
    session.reset();
    for (pid_t pid : started) {
        ASSERT_GT(pid, 0);
        EXPECT_NE(kill(pid, 0), 0) << "process " << pid << " survived the session";
    }
}

TEST(XSessionTest, LayoutGroupAndCapsLockAreControllable) {
    std::string error;
    auto session = XSession::start({.layout = "us,de"}, error);
    ASSERT_TRUE(session) << error;
    EXPECT_TRUE(session->lockGroup(1));
    EXPECT_EQ(session->activeGroup(), 1);
    EXPECT_TRUE(session->setCapsLock(true));
    EXPECT_TRUE(session->setCapsLock(false));
    EXPECT_TRUE(keyboardState(session->display()).pressedKeycodes.empty());
}

} // namespace
} // namespace quorvane::test
