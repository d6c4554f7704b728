// quorvane.exe's progress display under Wine: the bar's position, the figures and the title during a transfer into
// wintestwindow, the line that says how it ended, a second Send that changes nothing shown, and the window walk
// that skips the program's own window whatever its title.
#include "DefaultFolder.h"
#include "ProgramWindow.h"
#include "TestWindowProcess.h"
#include "platform/win32/Win32Text.h"
#include "ui/TransferProgress.h"
#include "ui/WindowProgress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <regex>
#include <set>

namespace quorvane::ui::win32::test {
namespace {

using platform::win32::toUtf8;
using platform::win32::test::TestWindowProcess;

const std::wstring kTeraTermTitle = L"COM1 - Tera Term VT";
constexpr int kLines = 40;

// 40 numbered lines of 25 characters, CR LF after each: 1,080 bytes.
std::string numberedLines() {
    std::string text;
    for (int line = 1; line <= kLines; ++line) {
        const std::string number = std::to_string(line);
        text += "LINE " + std::string(3 - number.size(), '0') + number + " ABCDEFGHIJKLMNOP\r\n";
    }
    return text;
}

// What a text transfer types of those lines: a CR between lines, none after the last.
std::string typedLines(const std::string &file) {
    const std::string typed = std::regex_replace(file, std::regex("\r\n"), "\r");
    return typed.substr(0, typed.size() - 1);
}

// What the window shows at one moment.
struct Sample {
    int position = -1;
    std::string title;
    std::string figures;
    bool barShown = false, figuresShown = false, instructionShown = false;
};

std::ostream &operator<<(std::ostream &out, const std::optional<Sample> &s) {
    if (!s) {
        return out << "no steady reading";
    }
    return out << '"' << s->title << "\", bar " << s->position << (s->barShown ? " shown" : " hidden") << ", \""
               << s->figures << (s->figuresShown ? "\" shown" : "\" hidden") << ", instruction line "
               << (s->instructionShown ? "shown" : "hidden");
}

// The title and the shown states are read without the program's thread, so they can fall inside one of its
// updates; the figures and the bar's position are answered by that thread between updates, and every update
// changes the figures, the end the position. The same figures and position before and after the other readings
// therefore hold nothing from halfway through an update.
std::optional<Sample> sample(const ProgramWindow &program) {
    Sample s;
    s.figures = toUtf8(program.text(L"lblProgress"));
    s.position = program.position(L"prgTransfer");
    s.title = toUtf8(program.title());
    s.barShown = program.visible(L"prgTransfer");
    s.figuresShown = program.visible(L"lblProgress");
    s.instructionShown = program.visible(L"Label2");
    if (toUtf8(program.text(L"lblProgress")) != s.figures || program.position(L"prgTransfer") != s.position) {
        return std::nullopt;
    }
    return s;
}

// A reading between two updates: with the transfer typing on a busy machine, one try may not find one.
std::optional<Sample> steadySample(const ProgramWindow &program) {
    std::optional<Sample> s;
    waitFor([&] { return (s = sample(program)).has_value(); }, 2000);
    return s;
}

// "1,234" as 1234.
std::uint64_t number(std::string digits) {
    std::erase(digits, ',');
    return std::stoull(digits);
}

// "123 of 1,000 characters typed, 0:04 left": the two counts.
std::optional<std::pair<std::uint64_t, std::uint64_t>> counts(const std::string &figures) {
    std::smatch match;
    if (!std::regex_search(figures, match, std::regex("^([0-9,]+) of ([0-9,]+) characters typed"))) {
        return std::nullopt;
    }
    return std::pair(number(match[1]), number(match[2]));
}

enum class Midway { Nothing, Stop, CloseTerminal };

struct EndCase {
    const char *name;
    Midway midway;      // at a quarter of the file
    bool taskbarButton; // the shell's "TaskbarButtonCreated" message reaches the window first
};

class Win32Progress : public ::testing::TestWithParam<EndCase> {};

TEST_P(Win32Progress, TheBarAndTitleFollowTheTransferAndTheEndLineSaysHowItEnded) {
    const EndCase &c = GetParam();
    DefaultFolder folder(std::string("progress-") + c.name);
    const std::string file = numberedLines();
    folder.write("lines.txt", file);
    ProgramWindow program(QUORVANE_PROGRAM);
    ASSERT_NE(program.window(), nullptr);
    ASSERT_TRUE(program.select(L"FileListBox", L"lines.txt"));
    program.setText(L"txtMultFactorChar", L"0");
    program.setText(L"txtMultFactorLine", L"1"); // 100 ms after each line: four seconds in all
    // Where the shell offers no ITaskbarList3 (Wine may not) the program must go on without it.
    if (c.taskbarButton) {
        PostMessageW(program.window(), RegisterWindowMessageW(L"TaskbarButtonCreated"), 0, 0);
    }
    TestWindowProcess bystander(QUORVANE_TEST_WINDOW, L"COM9 - PuTTY", folder.scratch() / "bystander.log");
    TestWindowProcess terminal(QUORVANE_TEST_WINDOW, kTeraTermTitle, folder.scratch() / "terminal.log");
    ASSERT_NE(terminal.window(), nullptr);
    program.postClick(L"btnSend");
    ASSERT_TRUE(waitFor([&] { return program.visible(L"btnStop"); }, 5000));

    std::vector<Sample> samples;
    bool secondSendDone = false;
    bool midwayDone = false;
    std::string message;
    waitFor(
        [&] {
            const std::optional<Sample> s = sample(program);
            if (s && s->barShown) {
                samples.push_back(*s);
            }
            if (!secondSendDone && s && s->position >= 10) {
                // Inside a wait of a second after the next line's report, so that no report changes the progress
                // around the click; the click is handled before SendMessage returns.
                program.setText(L"txtMultFactorLine", L"10");
                waitFor([&] { return program.position(L"prgTransfer") != s->position; }, 2000);
                Sleep(100);
                const std::optional<Sample> before = steadySample(program);
                const HWND send = program.control(L"btnSend");
                SendMessageW(GetParent(send), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(send), BN_CLICKED),
                             reinterpret_cast<LPARAM>(send));
                const std::optional<Sample> after = steadySample(program);
                EXPECT_TRUE(before && after && after->barShown && after->figuresShown && !after->instructionShown &&
                            after->position == before->position && after->figures == before->figures &&
                            after->title == before->title)
                    << "a second Send touched the progress: before " << before << "; after " << after;
                program.setText(L"txtMultFactorLine", L"1");
                secondSendDone = true;
            }
            if (!midwayDone && s && s->position >= 25) {
                if (c.midway == Midway::Stop) {
                    program.postClick(L"btnStop");
                } else if (c.midway == Midway::CloseTerminal) {
                    EXPECT_TRUE(terminal.end());
                }
                midwayDone = true;
            }
            // The lost terminal's message: the transfer ends once it is answered.
            if (const HWND box = program.messageBox()) {
                message = toUtf8(ProgramWindow::messageText(box));
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
            // STOP! goes at the click; the transfer ends after its line.
            return !program.visible(L"btnStop") && program.visible(L"Label2");
        },
        60000);
    ASSERT_TRUE(program.visible(L"Label2")) << "the transfer did not end: " << toUtf8(program.title());
    ASSERT_TRUE(secondSendDone && midwayDone);
    if (c.midway != Midway::CloseTerminal) {
        ASSERT_TRUE(terminal.end());
    }
    bystander.end();

    std::set<int> positions;
    int last = 0;
    for (const Sample &s : samples) {
        positions.insert(s.position);
        EXPECT_GE(s.position, last) << "the bar went back";
        last = s.position;
        const auto done = counts(s.figures);
        ASSERT_TRUE(done) << s.figures;
        EXPECT_EQ(done->second, file.size());
        EXPECT_EQ(static_cast<int>(done->first * 100 / done->second), s.position) << s.figures;
        EXPECT_TRUE(s.title == "Quorvane - " + std::to_string(s.position) + " %" || s.title == kHoldingTitle)
            << s.title;
        EXPECT_TRUE(s.figuresShown && !s.instructionShown);
    }
    EXPECT_GE(positions.size(), 3u) << "the bar did not move";

    // The end line is shown just before the title is drawn.
    EXPECT_TRUE(waitFor([&] { return toUtf8(program.title()) == kWindowTitle; }, 5000)) << toUtf8(program.title());
    EXPECT_FALSE(program.visible(L"prgTransfer"));
    EXPECT_FALSE(program.visible(L"lblProgress"));
    EXPECT_TRUE(program.visible(L"Label2"));
    const std::string endLine = toUtf8(program.text(L"Label2"));
    const std::string received = toUtf8(terminal.chars());
    switch (c.midway) {
    case Midway::Nothing:
        EXPECT_EQ(received, typedLines(file)) << "typed once: the second Send started nothing";
        EXPECT_TRUE(std::regex_match(
            endLine, std::regex("Sent lines\\.txt: " + groupedNumber(file.size()) + " characters in [0-9]+ s")))
            << endLine;
        break;
    case Midway::Stop: {
        const auto carriageReturns = std::count(received.begin(), received.end(), '\r');
        EXPECT_EQ(endLine, "Stopped after line " + std::to_string(carriageReturns) + " of " + std::to_string(kLines));
        EXPECT_LT(received.size(), file.size());
        break;
    }
    case Midway::CloseTerminal: {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(
            endLine, match,
            std::regex("Terminal window lost after ([0-9,]+) of " + groupedNumber(file.size()) + " characters")))
            << endLine;
        const std::uint64_t lost = number(match[1]);
        EXPECT_GE(lost, counts(samples.back().figures)->first);
        EXPECT_LT(lost, file.size());
        EXPECT_FALSE(message.empty()) << "the user was told";
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(EachEnd, Win32Progress,
                         ::testing::Values(EndCase{"sent", Midway::Nothing, true},
                                           EndCase{"stopped", Midway::Stop, false},
                                           EndCase{"lost", Midway::CloseTerminal, false}),
                         [](const ::testing::TestParamInfo<EndCase> &param) { return std::string(param.param.name); });

// With its own title naming the terminal and its window lowest in the stacking order, the program would be its
// own terminal if the walk went by a title read before the progress changed it.
TEST(Win32ProgressTitle, TheWindowWalkSkipsTheProgramsOwnWindowWhateverItsTitle) {
    DefaultFolder folder("walk");
    folder.write("short.txt", "AB\r\nCD\r\n");
    ProgramWindow program(QUORVANE_PROGRAM);
    ASSERT_NE(program.window(), nullptr);
    ASSERT_TRUE(program.select(L"FileListBox", L"short.txt"));
    TestWindowProcess terminal(QUORVANE_TEST_WINDOW, kTeraTermTitle, folder.scratch() / "terminal.log");
    ASSERT_NE(terminal.window(), nullptr);
    SendMessageW(program.window(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Quorvane - Tera Term"));
    SetWindowPos(program.window(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    program.postClick(L"btnSend");
    ASSERT_TRUE(waitFor([&] { return program.visible(L"btnStop"); }, 5000));
    ASSERT_TRUE(waitFor([&] { return !program.visible(L"btnStop"); }, 30000));
    ASSERT_TRUE(terminal.end());
    EXPECT_EQ(toUtf8(terminal.chars()), "AB\rCD");
    // STOP! is hidden before the end line and the title are drawn.
    EXPECT_TRUE(waitFor([&] { return toUtf8(program.title()) == kWindowTitle; }, 5000)) << toUtf8(program.title());
    EXPECT_TRUE(toUtf8(program.text(L"Label2")).starts_with("Sent short.txt: 8 characters in "))
        << toUtf8(program.text(L"Label2"));
}

} // namespace
} // namespace quorvane::ui::win32::test
