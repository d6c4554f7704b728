// Transfers disturbed by the desktop: the terminal window closed while typing, another window taking the focus.
// GoogleTest first: Xlib defines macros (None, Bool) that its headers use as names.
#include <gtest/gtest.h>

#include "tests/e2e/BoardTerminal.h"
#include "tests/e2e/ExpectedResults.h"
#include "tests/e2e/QuorvaneProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/XQueries.h"

#include <csignal>
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

struct SignalCase {
    const char *name;
    int number;
    bool ignoredAtStart; // as a non-interactive shell starts a background job: SIGINT and SIGQUIT ignored
};

std::ostream &operator<<(std::ostream &out, const SignalCase &c) { return out << c.name; }

// Lines with characters outside the layout, so keys are bound for them whenever the signal comes.
std::string textOutsideTheLayout(int lines) {
    std::string content;
    for (int i = 1; i <= lines; ++i) {
        content += "10" + std::to_string(i) + " PRINT \"é Ж Ω " + std::to_string(i) + "\"\r\n";
    }
    return content;
}

class SignalTest : public testing::TestWithParam<SignalCase> {};

// A signal that would end the program ends the transfer in order instead: nothing more is typed, the bound
// keys are given back, and the status says the file was not typed whole.
TEST_P(SignalTest, EndsTheTransferAndRestoresTheKeymap) {
    const SignalCase &c = GetParam();
    std::string error;
    auto session = XSession::start({}, error);
    ASSERT_TRUE(session) << error;
    auto board = BoardTerminal::start(*session, {"evmbug", "text", "COM1 - Tera Term VT", {}}, error);
    ASSERT_TRUE(board) << error;
    const std::string content = textOutsideTheLayout(60);
    const std::string path = session->tempDir() + "/listing.bas";
    ASSERT_TRUE(writeFile(path, content));
    const KeyboardState before = keyboardState(session->display());

    std::vector<std::string> arguments = {"send",          path,   "--type",        "text",
                                          "--char-factor", "0.05", "--line-factor", "0.5"};
    if (c.ignoredAtStart) {
        arguments.insert(arguments.begin(), {"sh", "-c", "trap '' INT QUIT; exec \"$0\" \"$@\"", quorvanePath()});
    }
    auto send = c.ignoredAtStart ? SendCommandRun::startProgram(*session, arguments)
                                 : SendCommandRun::start(*session, arguments);
    ASSERT_TRUE(send);
    board->waitForReceived([](const std::string &bytes) { return bytes.size() > 80; }, 20s);
    const KeyboardState during = keyboardState(session->display());
    ASSERT_NE(during, before) << "no key was bound when the signal came: the test proves nothing";
    ASSERT_EQ(::kill(send->pid(), c.number), 0);
    const SendOutcome outcome = send->wait(10s);

    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    const std::string received = board->waitForQuiet(300ms, 5s);
    const std::string full = typedText(content);
    EXPECT_LT(received.size(), full.size());
    EXPECT_EQ(received, full.substr(0, received.size()));
    const KeyboardState after = keyboardState(session->display());
    EXPECT_EQ(after, before) << describeDifference(before, after);
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalTest,
                         testing::Values(SignalCase{"Term", SIGTERM, false}, SignalCase{"HangUp", SIGHUP, false},
                                         SignalCase{"Quit", SIGQUIT, false},
                                         SignalCase{"QuitIgnoredAtStart", SIGQUIT, true},
                                         SignalCase{"User1", SIGUSR1, false}, SignalCase{"User2", SIGUSR2, false}),
                         [](const testing::TestParamInfo<SignalCase> &param) { return std::string(param.param.name); });

// Requests to end while a long line is typed with both factors 0, so that no wait lies between keystrokes.
struct EndRequest {
    const char *name;
    std::vector<int> signals; // sent 20 ms apart
};

std::ostream &operator<<(std::ostream &out, const EndRequest &r) { return out << r.name; }

class EndRequestTest : public testing::TestWithParam<EndRequest> {};

TEST_P(EndRequestTest, EndsAtOnceWithTheKeyboardRestored) {
    std::string error;
    auto session = XSession::start({}, error);
    ASSERT_TRUE(session) << error;
    auto board = BoardTerminal::start(*session, {"evmbug", "text", "COM1 - Tera Term VT", {}}, error);
    ASSERT_TRUE(board) << error;
    // Characters outside the layout are typed from a spare keycode, which an orderly end must unbind.
    std::string line;
    for (int i = 0; line.size() < 1000000; ++i) {
        line += i % 50 == 0 ? "\xC3\xA6" : "A";
    }
    const std::string path = session->tempDir() + "/one-line.txt";
    ASSERT_TRUE(writeFile(path, line));
    const KeyboardState before = keyboardState(session->display());
    auto send =
        SendCommandRun::start(*session, {"send", path, "--type", "text", "--char-factor", "0", "--line-factor", "0"});
    ASSERT_TRUE(send);
    board->waitForReceived([](const std::string &bytes) { return bytes.size() > 2000; }, 20s);
    for (const int signal : GetParam().signals) {
        ::kill(send->pid(), signal);
        std::this_thread::sleep_for(20ms);
    }
    const SendOutcome outcome = send->wait(5s);

    ASSERT_TRUE(outcome.exitStatus) << "still typing 5 s after the request";
    EXPECT_EQ(*outcome.exitStatus, 1) << outcome.output;
    EXPECT_NE(outcome.output.find("ended before the end of the file"), std::string::npos) << outcome.output;
    const std::string received = board->waitForQuiet(300ms, 5s);
    const std::string full = typedText(line);
    EXPECT_LT(received.size(), full.size() / 2);
    EXPECT_EQ(received, full.substr(0, received.size()));
    const KeyboardState after = keyboardState(session->display());
    EXPECT_EQ(after, before) << describeDifference(before, after);
}

INSTANTIATE_TEST_SUITE_P(FactorsZero, EndRequestTest,
                         testing::Values(EndRequest{"SecondCtrlC", {SIGINT, SIGINT}}, EndRequest{"Sigterm", {SIGTERM}}),
                         [](const testing::TestParamInfo<EndRequest> &param) { return std::string(param.param.name); });

INSTANTIATE_TEST_SUITE_P(Desktops, InterruptionTest,
                         testing::Values(Disturbance{"Openbox", true}, Disturbance{"NoWindowManager", false}),
                         [](const testing::TestParamInfo<Disturbance> &param) {
                             return std::string(param.param.name);
                         });

} // namespace
} // namespace quorvane::test
