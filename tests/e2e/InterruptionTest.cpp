// Transfers disturbed by the desktop: the terminal window closed while typing, another window taking the focus.
// GoogleTest first: Xlib defines macros (None, Bool) that its headers use as names.
#include <gtest/gtest.h>

#include "tests/e2e/BoardTerminal.h"
#include "tests/e2e/ExpectedResults.h"
#include "tests/e2e/QuorvaneProcess.h"
#include "tests/support/TempDir.h"

#include <thread>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

std::string longText(int lines) {
    std::string content;
    for (int i = 1; i <= lines; ++i) {
        content += "10" + std::to_string(i) + " PRINT \"LINE " + std::to_string(i) + "\"\r\n";
    }
    return content;
}

// Moves the focus to `window` as a click would, and waits until the window has seen it arrive. The transfer
// takes the focus back at its next keystroke, so waiting for the window to keep it (xdotool --sync) could last
// to the end of the transfer.
bool takeFocus(XSession &session, Window window) {
    Display *display = session.display();
    XSelectInput(display, window, FocusChangeMask);
    XSync(display, False);
    XEvent event;
    while (XCheckTypedWindowEvent(display, window, FocusIn, &event)) {
    }
    const std::string id = std::to_string(window);
    const std::vector<std::string> argv = session.hasWindowManager()
                                              ? std::vector<std::string>{"xdotool", "windowactivate", id}
                                              : std::vector<std::string>{"xdotool", "windowfocus", id};
    if (ChildProcess::run(argv, session.environment()) != 0) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (std::chrono::steady_clock::now() < deadline) {
        XSync(display, False);
        if (XCheckTypedWindowEvent(display, window, FocusIn, &event)) {
            return true;
        }
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

struct Disturbance {
    const char *name;
    bool windowManager;
};

std::ostream &operator<<(std::ostream &out, const Disturbance &d) { return out << d.name; }

class InterruptionTest : public testing::TestWithParam<Disturbance> {
protected:
    void SetUp() override {
        std::string error;
        m_session = XSession::start({.windowManager = GetParam().windowManager}, error);
        ASSERT_TRUE(m_session) << error;
        // Opened first, so that it is the window that gets the focus when another goes away.
        m_bystander = CaptureTerminal::start(*m_session, "bystander", error);
        ASSERT_TRUE(m_bystander) << error;
        m_board = BoardTerminal::start(*m_session, {"evmbug", "text", "COM1 - Tera Term VT", {}}, error);
        ASSERT_TRUE(m_board) << error;
        m_path = m_session->tempDir() + "/listing.bas";
        ASSERT_TRUE(writeFile(m_path, m_content));
    }

    std::unique_ptr<SendCommandRun> startSend(const char *lineFactor) {
        return SendCommandRun::start(
            *m_session, {"send", m_path, "--type", "text", "--char-factor", "0.05", "--line-factor", lineFactor});
    }

    const std::string m_content = longText(40);
    std::unique_ptr<XSession> m_session;
    std::unique_ptr<CaptureTerminal> m_bystander;
    std::unique_ptr<BoardTerminal> m_board;
    std::string m_path;
};

TEST_P(InterruptionTest, ClosedTerminalIsReportedAndNothingGoesElsewhere) {
    auto send = startSend("1.0");
    ASSERT_TRUE(send);
    m_board->waitForReceived([](const std::string &bytes) { return bytes.size() > 40; }, 20s);
    const std::string typedBeforeClose = m_board->received();
    m_board->close();
    const SendOutcome outcome = send->wait(30s);

    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    EXPECT_NE(outcome.output.find("The terminal emulator window was lost"), std::string::npos) << outcome.output;
    const std::string full = typedText(m_content);
    EXPECT_LT(typedBeforeClose.size(), full.size());
    EXPECT_EQ(typedBeforeClose, full.substr(0, typedBeforeClose.size()));
    EXPECT_EQ(m_bystander->take(0, 500ms), "") << "keystrokes reached another window";
}

TEST_P(InterruptionTest, FocusTakenAwayIsWonBackAndTheTextStaysExact) {
    auto send = startSend("0.5");
    ASSERT_TRUE(send);
    const std::string full = typedText(m_content);
    for (std::size_t threshold : {full.size() / 4, full.size() / 2}) {
        m_board->waitForReceived([&](const std::string &bytes) { return bytes.size() > threshold; }, 20s);
        ASSERT_TRUE(takeFocus(*m_session, m_bystander->window()));
    }
    const SendOutcome outcome = send->wait(60s);

    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_EQ(m_board->waitForQuiet(300ms, 5s), full);
    EXPECT_EQ(m_bystander->take(0, 500ms), "") << "keystrokes reached another window";
}

INSTANTIATE_TEST_SUITE_P(Desktops, InterruptionTest,
                         testing::Values(Disturbance{"Openbox", true}, Disturbance{"NoWindowManager", false}),
                         [](const testing::TestParamInfo<Disturbance> &param) {
                             return std::string(param.param.name);
                         });

} // namespace
} // namespace quorvane::test
