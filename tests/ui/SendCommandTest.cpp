// `quorvane send` through the real engine on the fake platform: exit statuses, messages, Ctrl+C and progress.
#include "ui/SendCommand.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/TempDir.h"
#include "ui/ProgressLine.h"
#include "ui/StreamDialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include <sys/stat.h>

namespace quorvane::ui {
namespace {

using std::chrono::seconds;

class SendCommandTest : public testing::Test {
protected:
    std::string writeFile(const std::string &name, const std::string &content) {
        return m_folder.write(name, content).string();
    }

    int run(SendArguments arguments, bool progressLine = false) {
        SendCommand command(std::move(arguments), m_platform.services(m_messages), m_out, progressLine);
        m_command = &command;
        const int status = command.run();
        m_command = nullptr;
        return status;
    }

    quorvane::test::TempFolder m_folder{"quorvane-send-"};
    quorvane::test::FakePlatform m_platform;
    std::ostringstream m_out;
    StreamDialogs m_messages{m_out};
    SendCommand *m_command = nullptr;
};

TEST_F(SendCommandTest, WholeFileTypedExitsWithZero) {
    m_platform.desktop.addWindow(7, "COM1 - Tera Term VT");
    SendArguments arguments;
    arguments.file = writeFile("image.bin", std::string("\x12\x34\xAB\xCD", 4));
    EXPECT_EQ(run(arguments), kExitCompleted) << m_out.str();
    EXPECT_EQ(m_platform.typedText().rfind("1234 ABCD ", 0), 0u) << m_platform.typedText();
    EXPECT_EQ(m_out.str(), "");
}

struct TypeCase {
    std::string name;
    std::optional<FileType> type;
    bool typedAsHexWords;
};

class SendCommandTypes : public SendCommandTest, public testing::WithParamInterface<TypeCase> {};

// The bytes "12" typed as text give "12"; typed as a hex dump they give "3132 ".
TEST_P(SendCommandTypes, TypeComesFromTheOptionElseFromTheExtensionInAnyCase) {
    const TypeCase &c = GetParam();
    m_platform.desktop.addWindow(7, "Tera Term");
    SendArguments arguments;
    arguments.file = writeFile(c.name, "12");
    arguments.fileType = c.type;
    ASSERT_EQ(run(arguments), kExitCompleted) << m_out.str();
    EXPECT_EQ(m_platform.typedText().rfind("3132 ", 0) == 0, c.typedAsHexWords) << m_platform.typedText();
}

INSTANTIATE_TEST_SUITE_P(Types, SendCommandTypes,
                         testing::Values(TypeCase{"image.bin", {}, true}, TypeCase{"IMAGE.BIN", {}, true},
                                         TypeCase{"mem.Hex", {}, true}, TypeCase{"notes.txt", {}, false},
                                         TypeCase{"notes.txt", FileType::HexDump, true},
                                         TypeCase{"image.bin", FileType::Text, false}));

TEST_F(SendCommandTest, TerminalNotRunningIsReportedInConsoleWordsAndFails) {
    m_platform.desktop.addWindow(3, "HyperTerminal");
    SendArguments arguments;
    arguments.file = writeFile("notes.txt", "HELLO\r\n");
    EXPECT_EQ(run(arguments), kExitNotCompleted);
    EXPECT_NE(m_out.str().find("quorvane: The selected terminal emulator application is not running: no window's "
                               "title contains \"Tera Term\". Start the terminal emulator application, then try "
                               "again.\n"),
              std::string::npos)
        << m_out.str();
    EXPECT_EQ(m_out.str().find("OK"), std::string::npos) << "a console has no OK button";
    EXPECT_EQ(m_platform.typedText(), "");
}

TEST_F(SendCommandTest, TheChosenOfTwoMatchingTerminalsIsNamed) {
    m_platform.desktop.addWindow(3, "COM1 - Tera Term VT");
    m_platform.desktop.addWindow(4, "COM2 - Tera Term VT");
    SendArguments arguments;
    arguments.file = writeFile("notes.txt", "AB");
    ASSERT_EQ(run(arguments), kExitCompleted) << m_out.str();
    EXPECT_EQ(m_out.str(), "quorvane: note: Typing into \"COM2 - Tera Term VT\", the lowest in the stacking order; "
                           "another window's title matches as well.\n");
    EXPECT_EQ(m_platform.typedText(), "AB");
}

TEST_F(SendCommandTest, AnyOtherTerminalIsFoundByPartOfItsTitle) {
    m_platform.desktop.addWindow(3, "Tera Term");
    m_platform.desktop.addWindow(4, "ttyUSB0 - minicom");
    SendArguments arguments;
    arguments.file = writeFile("notes.txt", "AB\r\n");
    arguments.terminalTitleTerm = "minicom";
    ASSERT_EQ(run(arguments), kExitCompleted) << m_out.str();
    EXPECT_EQ(m_platform.desktop.foregroundWindow(), platform::WindowId{4});
}

// Checked before the desktop is opened: a pipe would block the open, a device has no end.
TEST_F(SendCommandTest, AFileThatIsNotThereOrNotRegularIsAnInvalidArgument) {
    const std::string fifo = (m_folder.path() / "fifo.txt").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string file;
        std::string expected;
    } cases[] = {
        {(m_folder.path() / "absent.obj").string(),
         "quorvane: no such file: " + (m_folder.path() / "absent.obj").string()},
        {m_folder.path().string(), "quorvane: not a regular file: " + m_folder.path().string()},
        {fifo, "quorvane: not a regular file: " + fifo},
        {"/dev/null", "quorvane: not a regular file: /dev/null"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(sendFileProblem(c.file).value_or(""), c.expected.substr(std::string("quorvane: ").size()));
        m_out.str({});
        SendArguments arguments;
        arguments.file = c.file;
        EXPECT_EQ(run(arguments), kExitUsage) << c.file;
        EXPECT_EQ(m_out.str(), c.expected + "\n");
    }
}

TEST_F(SendCommandTest, CtrlCDuringTheTransferStopsItAndFails) {
    m_platform.desktop.addWindow(7, "Tera Term");
    SendArguments arguments;
    arguments.file = writeFile("listing.txt", std::string(200, 'A') + "\r\n" + std::string(200, 'B') + "\r\n");
    m_platform.pump.at(seconds(2), [this] { m_command->interrupt(); });
    EXPECT_EQ(run(arguments), kExitNotCompleted);
    const std::string typed = m_platform.typedText();
    EXPECT_FALSE(typed.empty());
    EXPECT_EQ(typed.find('b'), std::string::npos) << "the second line was typed after the stop";
    EXPECT_NE(m_out.str().find("stopped"), std::string::npos) << m_out.str();
}

TEST_F(SendCommandTest, TerminateEndsAtOnceWithoutFinishingTheLine) {
    m_platform.desktop.addWindow(7, "Tera Term");
    SendArguments arguments;
    arguments.file = writeFile("listing.txt", std::string(200, 'A') + "\r\n");
    m_platform.pump.at(seconds(2), [this] { m_command->end(); });
    EXPECT_EQ(run(arguments), kExitNotCompleted);
    const std::size_t typed = m_platform.typedText().size();
    EXPECT_GT(typed, 0u);
    EXPECT_LT(typed, 200u) << "the line was finished as on STOP!";
    EXPECT_NE(m_out.str().find("ended before the end of the file"), std::string::npos) << m_out.str();
}

TEST_F(SendCommandTest, CtrlCBeforeTheTransferStartsTypesNothing) {
    m_platform.desktop.addWindow(7, "Tera Term");
    SendArguments arguments;
    arguments.file = writeFile("listing.txt", "ABC\r\n");
    SendCommand command(arguments, m_platform.services(m_messages), m_out, false);
    command.interrupt();
    EXPECT_EQ(command.run(), kExitNotCompleted);
    EXPECT_EQ(m_platform.typedText(), "");
}

TEST_F(SendCommandTest, ProgressLineOnlyOnATerminal) {
    for (const bool terminal : {false, true}) {
        quorvane::test::FakePlatform platform;
        platform.desktop.addWindow(7, "Tera Term");
        std::ostringstream out;
        StreamDialogs messages(out);
        SendArguments arguments;
        arguments.file = writeFile("image.bin", std::string(40, '\x55'));
        SendCommand command(arguments, platform.services(messages), out, terminal);
        ASSERT_EQ(command.run(), kExitCompleted);
        EXPECT_EQ(out.str().find("40 of 40 characters typed") != std::string::npos, terminal) << out.str();
        EXPECT_EQ(!out.str().empty() && out.str().back() == '\n', terminal) << "the line must be ended";
    }
}

TEST(StreamDialogs, MessagesBecomeLines) {
    const struct {
        std::string text;
        platform::MessageIcon icon;
        std::string expected;
    } cases[] = {
        {"Select a text file to send.", platform::MessageIcon::Warning,
         "quorvane: warning: Select a text file to send.\n"},
        {"Bad tag.\r\n\r\nLine 3.", platform::MessageIcon::Error, "quorvane: error: Bad tag.\n\nLine 3.\n"},
        {"Not running.", platform::MessageIcon::None, "quorvane: Not running.\n"},
        {"a\rb", platform::MessageIcon::None, "quorvane: a\rb\n"},
    };
    for (const auto &c : cases) {
        std::ostringstream out;
        StreamDialogs messages(out);
        messages.showMessage("Quorvane", c.text, c.icon);
        EXPECT_EQ(out.str(), c.expected);
    }
}

// A line as wide as the terminal wraps, and "\r" then redraws only its last row: the rows pile up.
TEST(ProgressLine, KeepsWithinTheTerminalsWidth) {
    const std::string figures = TransferProgress::figures(1, 500, seconds(754));
    ASSERT_EQ(figures, "1 of 500 characters typed, 12:34 left");
    const struct {
        std::size_t columns;
        std::string expected;
    } cases[] = {
        {0, figures},
        {80, figures},
        {38, figures},
        {37, "1 of 500 characters typed"},
        {26, "1 of 500 characters typed"},
        {25, "1/500"},
        {4, "1/5"},
        {1, ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ProgressLine::fit(figures, 1, 500, c.columns), c.expected) << c.columns;
    }
}

TEST(ProgressLine, EstimatesTimeLeftFromThePaceSinceTheFirstCharacter) {
    platform::ManualClock clock;
    std::ostringstream out;
    ProgressLine line(clock, out, true);
    line.update(0, 100);
    clock.advance(seconds(30)); // the initial wait is not typing
    line.update(10, 100);
    clock.advance(seconds(10));
    line.update(20, 100); // 10 characters in 10 s: 80 left at 1 per second
    line.finishLine();
    EXPECT_NE(out.str().find("20 of 100 characters typed, 1:20 left"), std::string::npos) << out.str();
}

} // namespace
} // namespace quorvane::ui
