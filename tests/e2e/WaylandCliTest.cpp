// `quorvane send` on a headless sway: exact transfers into foot, the keystroke guard, the choice of terminal and of
// backend, and the window on Wayland.
#include <gtest/gtest.h>

#include "tests/e2e/BoardTerminal.h"
#include "tests/e2e/ExpectedResults.h"
#include "tests/e2e/QuorvaneProcess.h"
#include "tests/e2e/WaylandQuorvaneWindow.h"
#include "tests/support/PollUntil.h"
#include "tests/support/SwaySession.h"
#include "tests/support/TempDir.h"
#include "tests/wayland/WaylandTestBackend.h"

#include <algorithm>
#include <filesystem>
#include <random>
#include <thread>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

constexpr const char *kTeraTerm = "COM1 - Tera Term VT";

std::string randomAscii(std::size_t length, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> printable(0x20, 0x7E);
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        text += i % 200 == 100 ? '\n' : static_cast<char>(printable(random));
    }
    return text;
}

// What the text transfer types for text with LF line ends: a carriage return between lines, none after the last.
std::string typed(std::string text) {
    if (text.ends_with('\n')) {
        text.pop_back();
    }
    std::replace(text.begin(), text.end(), '\n', '\r');
    return text;
}

// Equal, or where the two first differ: a 20,000-byte diff says nothing more.
testing::AssertionResult sameBytes(const std::string &received, const std::string &expected) {
    if (received == expected) {
        return testing::AssertionSuccess();
    }
    const auto differ = std::mismatch(received.begin(), received.end(), expected.begin(), expected.end());
    const auto at = static_cast<std::size_t>(differ.first - received.begin());
    return testing::AssertionFailure() << received.size() << " bytes received, " << expected.size()
                                       << " expected; first difference at " << at << ": received \""
                                       << received.substr(at, 20) << "\", expected \"" << expected.substr(at, 20)
                                       << '"';
}

class WaylandCliTest : public testing::Test {
public:
    static void SetUpTestSuite() { s_session = SwaySession::start(s_error); }
    static void TearDownTestSuite() { s_session.reset(); }

protected:
    void SetUp() override {
        ASSERT_TRUE(s_session) << s_error;
        std::string error;
        m_probe = WaylandTestBackend::open(*s_session, error);
        ASSERT_TRUE(m_probe) << error;
    }

    std::unique_ptr<FootCapture> startCapture(const std::string &title) {
        std::string error;
        auto terminal = FootCapture::start(*s_session, title, error);
        EXPECT_TRUE(terminal) << error;
        EXPECT_TRUE(terminal && m_probe.windowTitled(title)) << title;
        return terminal;
    }

    std::string writeText(const std::string &name, const std::string &content) {
        const std::string path = s_session->tempDir() + "/" + name;
        EXPECT_TRUE(writeFile(path, content));
        return path;
    }

    std::vector<std::string> sendArguments(const std::string &path, const char *charFactor, const char *lineFactor) {
        return {"send", path, "--type", "text", "--char-factor", charFactor, "--line-factor", lineFactor};
    }

    std::vector<std::string> environment(const std::vector<std::string> &extra = {}) {
        std::vector<std::string> all = s_session->environment();
        all.insert(all.end(), extra.begin(), extra.end());
        return all;
    }

    static inline std::unique_ptr<SwaySession> s_session;
    static inline std::string s_error;
    WaylandTestBackend m_probe;
};

struct ExactCase {
    const char *name;
    std::string content;
    const char *charFactor;
    const char *lineFactor;
};

// The first key of each case is the first the program's fresh virtual keyboard types: it must not be lost.
TEST_F(WaylandCliTest, TransfersArriveExactly) {
    const std::vector<ExactCase> cases = {
        {"OneCharacter", "Z", "1", "1"},
        {"Ascii",
         "!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~\n"
         "\tline two\fthree",
         "0.1", "0.1"},
        {"OutsideUs", "é ß € Ω “ ” É Ä Ñ ø Ł ω Ж 😀\näöüÄÖÜß^°`´~@€|{}[]\\<>\néèàçù&\"'(-_)=²µ§^¨", "0.1", "0.1"},
        {"TwentyThousandAtFactorZero", randomAscii(20000, 18), "0", "0"},
    };
    auto terminal = startCapture(kTeraTerm);
    ASSERT_TRUE(terminal);
    for (const auto &c : cases) {
        const std::string expected = typed(c.content);
        const auto started = std::chrono::steady_clock::now();
        const SendOutcome outcome = runSend(environment(), s_session->tempDir(),
                                            sendArguments(writeText(c.name, c.content), c.charFactor, c.lineFactor));
        EXPECT_EQ(outcome.exitStatus, 0) << c.name << ": " << outcome.output;
        EXPECT_TRUE(sameBytes(terminal->capture.take(expected.size()), expected)) << c.name;
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
        std::cout << c.name << ": " << expected.size() << " bytes in " << elapsed.count() << " ms\n";
    }
}

struct BoardCase {
    const char *file; // in samples/
    const char *type; // --type
    const char *monitor;
    const char *boardStart; // boardsim --start
    std::optional<std::uint16_t> startAddress;
    Check check;
};

// The four file types into the simulated board in foot, judged as on X11: by the board's memory, or the bytes.
TEST_F(WaylandCliTest, EveryFileTypeReachesTheBoard) {
    const BoardCase cases[] = {
        {"demo.obj", "loader", "evmbug", "loader", {}, Check::SampleImage},
        {"demo.obj", "object", "tibug", "prompt", {}, Check::ObjectImage},
        {"even.bin", "hex", "evmbug", "memory:FE00", 0xFE00, Check::BinaryImage},
        {"hello.bas", "text", "evmbug", "text", {}, Check::Text},
    };
    for (const BoardCase &c : cases) {
        std::string error;
        auto board = BoardTerminal::start(*s_session, {c.monitor, c.boardStart, kTeraTerm, {}}, error);
        ASSERT_TRUE(board) << c.type << ": " << error;
        const std::string path = samplesFolder() + "/" + c.file;
        const auto content = readFile(path);
        ASSERT_TRUE(content) << path;
        const std::string expected = expectedResult(c.check, c.file, *content, c.startAddress);
        const SendOutcome outcome = runSend(
            environment(), s_session->tempDir(),
            {"send", path, "--type", c.type, "--monitor", c.monitor, "--char-factor", "0.05", "--line-factor", "0.1"});
        EXPECT_EQ(outcome.exitStatus, 0) << c.type << ": " << outcome.output;
        if (c.check == Check::Text) {
            EXPECT_EQ(board->waitForReceived([&](const std::string &bytes) { return bytes == expected; }, 5s), expected)
                << c.type;
        } else {
            EXPECT_EQ(board->waitForImage(expected, 5s), expected) << c.type;
        }
    }
}

// Another window activated mid-transfer, twenty times (before the focus was pinned to each key, about one theft in
// ten put a key there): not one key goes there, and the terminal receives everything.
// A terminal closed mid-transfer ends it with the lost-terminal message. The compositor passes the focus on by itself
// then, and a key already on its way when it does can land in the window that took it: at most that one.
TEST_F(WaylandCliTest, KeysReachOnlyTheTerminal) {
    auto terminal = startCapture(kTeraTerm);
    auto other = startCapture("Other window");
    ASSERT_TRUE(terminal && other);
    const std::string content = randomAscii(3000, 7);
    const std::string path = writeText("theft.txt", content);

    auto run = SendCommandRun::start(environment(), s_session->tempDir(), sendArguments(path, "0.2", "0"));
    ASSERT_TRUE(run);
    std::this_thread::sleep_for(1200ms);
    for (int theft = 0; theft < 20; ++theft) {
        std::this_thread::sleep_for(200ms);
        EXPECT_EQ(s_session->swaymsg({"[title=\"^Other window$\"]", "focus"}), 0);
    }
    const SendOutcome stolen = run->wait(60s);
    EXPECT_EQ(stolen.exitStatus, 0) << stolen.output;
    const std::string expected = typed(content);
    const std::string received = terminal->capture.take(expected.size(), 10s);
    EXPECT_EQ(other->capture.take(1, 300ms), "");
    EXPECT_TRUE(sameBytes(received, expected));

    run = SendCommandRun::start(environment(), s_session->tempDir(), sendArguments(path, "0.2", "0"));
    ASSERT_TRUE(run);
    std::this_thread::sleep_for(1500ms);
    terminal->terminal->stop();
    const SendOutcome lost = run->wait(30s);
    EXPECT_EQ(lost.exitStatus, 1) << lost.output;
    EXPECT_NE(lost.output.find("The terminal emulator window was lost"), std::string::npos) << lost.output;
    EXPECT_LE(other->capture.take(2, 500ms).size(), 1u);
}

// No stacking order is published: of two matching windows the one this program saw active least recently is
// taken, as the lowest in the stacking order is elsewhere.
TEST_F(WaylandCliTest, OfTwoMatchingTerminalsTheLeastRecentlyActiveIsChosen) {
    auto first = startCapture("COM3 - Tera Term VT");
    auto second = startCapture("COM4 - Tera Term VT");
    ASSERT_TRUE(first && second);
    const std::string path = writeText("two.txt", "two");
    struct {
        const char *focus;
        FootCapture *chosen;
        FootCapture *notChosen;
    } cases[] = {{"^COM4 - Tera Term VT$", first.get(), second.get()},
                 {"^COM3 - Tera Term VT$", second.get(), first.get()}};
    for (const auto &c : cases) {
        ASSERT_EQ(s_session->swaymsg({std::string("[title=\"") + c.focus + "\"]", "focus"}), 0);
        const SendOutcome outcome = runSend(environment(), s_session->tempDir(), sendArguments(path, "0", "0"));
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
        EXPECT_EQ(c.chosen->capture.take(3), "two") << c.focus;
        EXPECT_EQ(c.notChosen->capture.take(1, 300ms), "") << c.focus;
    }
}

TEST_F(WaylandCliTest, TheBackendCanBeChosenAndAWrongChoiceIsRefused) {
    auto terminal = startCapture(kTeraTerm);
    ASSERT_TRUE(terminal);
    const std::string path = writeText("choice.txt", "w");
    const struct {
        const char *variable;
        int status;
        const char *message;
    } cases[] = {{"QUORVANE_BACKEND=wayland", 0, ""},
                 {"QUORVANE_BACKEND=x11", 1, "display"},
                 {"QUORVANE_BACKEND=mir", 1, "QUORVANE_BACKEND must be x11 or wayland"}};
    std::string expected;
    for (const auto &c : cases) {
        const SendOutcome outcome =
            runSend(environment({c.variable}), s_session->tempDir(), sendArguments(path, "0", "0"));
        EXPECT_EQ(outcome.exitStatus, c.status) << c.variable << ": " << outcome.output;
        EXPECT_NE(outcome.output.find(c.message), std::string::npos) << c.variable << ": " << outcome.output;
        expected += c.status == 0 ? "w" : "";
    }
    EXPECT_EQ(terminal->capture.take(expected.size()), expected);
}

// The window is a native Wayland client of the same compositor: the walk finds it by its caption, and the backend
// knows it as Quorvane's by its application id (any Quorvane's: the protocol names no process), a terminal not.
TEST_F(WaylandCliTest, TheWindowOpensOnWaylandAndIsKnownAsQuorvanes) {
    auto terminal = startCapture(kTeraTerm);
    ASSERT_TRUE(terminal);
    auto window = ChildProcess::start({quorvanePath()}, environment(), s_session->tempDir() + "/window.log");
    ASSERT_TRUE(window);
    const struct {
        const char *title;
        bool own;
    } cases[] = {{"Quorvane", true}, {kTeraTerm, false}};
    for (const auto &c : cases) {
        const auto id = m_probe.windowTitled(c.title);
        ASSERT_TRUE(id) << c.title << ": " << readFile(s_session->tempDir() + "/window.log").value_or("");
        EXPECT_EQ(m_probe.backend.desktop->isOwnWindow(*id), c.own) << c.title;
    }
    window->stop();
}

// The window on Wayland, end to end: the file picked in its list, Send clicked, and the terminal receives exactly
// the file. A click into the window mid-transfer holds it, as the backend knows the window as Quorvane's, and nothing
// is typed meanwhile; activating the terminal lets it go on.
TEST_F(WaylandCliTest, TheWindowSendsAFileAndHoldsWhileItHasTheFocus) {
    auto terminal = startCapture(kTeraTerm);
    ASSERT_TRUE(terminal);
    const std::string folder = s_session->tempDir() + "/files";
    std::filesystem::create_directories(folder);
    const std::string content = randomAscii(1500, 11);
    ASSERT_TRUE(writeFile(folder + "/lines.txt", content));
    std::string error;
    auto window = WaylandQuorvaneWindow::start(*s_session, m_probe, folder, error);
    ASSERT_TRUE(window) << error;
    ASSERT_TRUE(window->selectFile("lines.txt"));
    ASSERT_TRUE(window->click("btnSend"));
    const std::string expected = typed(content);
    ASSERT_TRUE(pollUntil([&] { return terminal->capture.everything().size() >= 20; }, 10s));

    // A click that meets a key on its way is undone by the terminal's activation that travels with that key.
    const std::string waiting = "Quorvane - waiting: click the terminal or press Enter to go on";
    bool held = false;
    for (int click = 0; click < 3 && !held; ++click) {
        ASSERT_TRUE(window->click("FileListBox"));
        held = m_probe.windowTitled(waiting, 2s).has_value();
    }
    ASSERT_TRUE(held);
    std::this_thread::sleep_for(300ms);
    const std::size_t typedBeforeHold = terminal->capture.everything().size();
    std::this_thread::sleep_for(700ms);
    EXPECT_EQ(terminal->capture.everything().size(), typedBeforeHold) << "typed while held";
    EXPECT_LT(typedBeforeHold, expected.size());

    EXPECT_EQ(s_session->swaymsg({std::string("[title=\"^") + kTeraTerm + "$\"]", "focus"}), 0);
    const std::string received = terminal->capture.take(expected.size(), 60s);
    EXPECT_TRUE(sameBytes(received, expected));
}

} // namespace
} // namespace quorvane::test
