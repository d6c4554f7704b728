// Every file type through the real window: the file picked in its browser, the options clicked, Send pressed;
// and STOP! pressed during a transfer.
// GoogleTest first: Xlib defines macros (None, Bool) that its headers use as names.
#include <gtest/gtest.h>

#include "tests/e2e/BoardTerminal.h"
#include "tests/e2e/ExpectedResults.h"
#include "tests/e2e/QuorvaneWindow.h"
#include "tests/support/TempDir.h"
#include "tests/support/XQueries.h"

#include <filesystem>
#include <thread>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

struct WindowCase {
    const char *name;
    const char *file; // in samples/
    const char *typeControl;
    const char *monitorControl;
    const char *terminalControl;
    const char *title;
    const char *boardMonitor;
    const char *boardStart;
    std::uint16_t startAddress; // of the memory command already open, for the hex dump and ignored tags
    bool windowManager;
    Check check;
    const char *optionControl = nullptr; // one more control to click, after the type
    // A board with the real monitor's timing needs the factors the README recommends.
    bool realisticBoard = false;
    const char *charFactor = "0.05";
    const char *lineFactor = "0.1";
};

std::ostream &operator<<(std::ostream &out, const WindowCase &c) { return out << c.name; }

// A folder with the file to send among others, so that picking it in the list means something.
std::string filesFolder(const XSession &session, const std::string &file) {
    const std::string folder = session.tempDir() + "/files";
    std::filesystem::create_directories(folder);
    for (const std::string &name : {file, std::string("hello.bas"), std::string("even.bin")}) {
        std::filesystem::copy_file(samplesFolder() + "/" + name, folder + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    return folder;
}

class WindowTransferTest : public testing::TestWithParam<WindowCase> {};

TEST_P(WindowTransferTest, BoardEndsWithTheFileContents) {
    const WindowCase &c = GetParam();
    std::string error;
    auto session = XSession::start({.windowManager = c.windowManager}, error);
    ASSERT_TRUE(session) << error;
    std::vector<std::string> boardOptions;
    if (c.realisticBoard) {
        boardOptions.push_back("--realistic");
    }
    auto board = BoardTerminal::start(*session, {c.boardMonitor, c.boardStart, c.title, boardOptions}, error);
    ASSERT_TRUE(board) << error;
    const auto content = readFile(samplesFolder() + "/" + c.file);
    ASSERT_TRUE(content);
    const std::string expected = expectedResult(c.check, c.file, *content, c.startAddress);
    auto window = QuorvaneWindow::start(*session, filesFolder(*session, c.file), error);
    ASSERT_TRUE(window) << error;

    ASSERT_TRUE(window->selectFile(c.file));
    for (const char *control : {c.typeControl, c.monitorControl, c.terminalControl}) {
        ASSERT_TRUE(window->click(control)) << control;
    }
    if (c.optionControl != nullptr) {
        ASSERT_TRUE(window->click(c.optionControl)) << c.optionControl;
    }
    // The loader's pacing is fixed: the window disables the factor boxes for it.
    if (std::string(c.typeControl) != "optFileType0") {
        ASSERT_TRUE(window->setText("txtMultFactorChar", c.charFactor));
        ASSERT_TRUE(window->setText("txtMultFactorLine", c.lineFactor));
    }
    ASSERT_TRUE(window->click("btnSend"));

    if (c.check == Check::Text) {
        EXPECT_EQ(
            board->waitForReceived([&](const std::string &bytes) { return bytes.size() >= expected.size(); }, 20s),
            expected);
        EXPECT_EQ(board->waitForQuiet(300ms, 2s), expected) << "more arrived after the text";
    } else {
        EXPECT_EQ(board->waitForImage(expected, 20s), expected);
    }
    EXPECT_TRUE(window->running());
    EXPECT_EQ(window->windowCount(), 1) << "a message box is open";
}

INSTANTIATE_TEST_SUITE_P(
    AllTypes, WindowTransferTest,
    testing::Values(WindowCase{"LoaderEvmbugOpenbox", "demo.obj", "optFileType0", "optEVMBUG", "optTeraTerm",
                               "COM1 - Tera Term VT", "evmbug", "loader", 0, true, Check::SampleImage},
                    WindowCase{"ObjectTibugHyperTerminalBare", "demo.obj", "optFileType1", "optTIBUG",
                               "optHyperTerminal", "board - HyperTerminal", "tibug", "prompt", 0, false,
                               Check::ObjectImage},
                    WindowCase{"ObjectIgnoringTagsEvmbugOpenbox", "demo.obj", "optFileType1", "optEVMBUG",
                               "optTeraTerm", "COM1 - Tera Term VT", "evmbug", "memory:0400", 0x0400, true,
                               Check::ObjectImageIgnoringTags, "chkIgnoreAddressTags"},
                    // The window's default line factor of 1.0 loses characters on this board now and then.
                    WindowCase{"ObjectEvmbugRealisticBoardOpenbox", "demo.obj", "optFileType1", "optEVMBUG",
                               "optTeraTerm", "COM1 - Tera Term VT", "evmbug", "prompt", 0, true, Check::ObjectImage,
                               nullptr, true, "1.0", "1.5"},
                    WindowCase{"HexEvmbugOpenbox", "odd.bin", "optFileType2", "optEVMBUG", "optTeraTerm",
                               "COM1 - Tera Term VT", "evmbug", "memory:FE00", 0xFE00, true, Check::BinaryImage},
                    WindowCase{"TextTibugOpenbox", "ascii.txt", "optFileType3", "optTIBUG", "optTeraTerm",
                               "COM1 - Tera Term VT", "tibug", "text", 0, true, Check::Text}),
    [](const testing::TestParamInfo<WindowCase> &param) { return std::string(param.param.name); });

// Lines long enough that the transfer is still running when STOP! is clicked.
std::string longText(int lines) {
    std::string content;
    for (int i = 1; i <= lines; ++i) {
        content += "LINE " + std::to_string(i) + " OF A LONG LISTING\r\n";
    }
    return content;
}

TEST(WindowStopTest, StopEndsTheTransferAfterAWholeLine) {
    std::string error;
    auto session = XSession::start({.windowManager = true}, error);
    ASSERT_TRUE(session) << error;
    auto board = BoardTerminal::start(*session, {"evmbug", "text", "COM1 - Tera Term VT", {}}, error);
    ASSERT_TRUE(board) << error;
    const std::string folder = session->tempDir() + "/files";
    std::filesystem::create_directories(folder);
    const std::string content = longText(200);
    ASSERT_TRUE(writeFile(folder + "/listing.txt", content));
    const std::string full = typedText(content);
    auto window = QuorvaneWindow::start(*session, folder, error);
    ASSERT_TRUE(window) << error;
    ASSERT_TRUE(window->selectFile("listing.txt"));
    ASSERT_TRUE(window->click("optFileType3"));
    ASSERT_TRUE(window->setText("txtMultFactorChar", "0.05"));
    ASSERT_TRUE(window->setText("txtMultFactorLine", "0.5"));
    ASSERT_TRUE(window->click("btnSend"));

    board->waitForReceived([](const std::string &bytes) { return bytes.size() > 100; }, 20s);
    ASSERT_TRUE(window->click("btnStop"));
    const std::string received = board->waitForQuiet(1s, 10s);

    ASSERT_LT(received.size(), full.size()) << "the transfer ran to its end";
    EXPECT_EQ(received, full.substr(0, received.size()));
    // The stop is noticed before a line: what went out ends with a whole line and its carriage return.
    EXPECT_EQ(received.back(), '\r');
    EXPECT_TRUE(window->running());
    EXPECT_EQ(window->windowCount(), 1) << "a message box is open";
}

// A factor box edited during a transfer: while the window has the focus the transfer holds, so the digits stay
// in the box and nothing reaches the board; Enter confirms and the transfer goes on at the new pace.
TEST(WindowHoldTest, AFactorEditedMidTransferIsUsedAndItsDigitsStayInTheBox) {
    std::string error;
    auto session = XSession::start({.windowManager = true}, error);
    ASSERT_TRUE(session) << error;
    auto board = BoardTerminal::start(*session, {"evmbug", "text", "COM1 - Tera Term VT", {}}, error);
    ASSERT_TRUE(board) << error;
    const std::string folder = session->tempDir() + "/files";
    std::filesystem::create_directories(folder);
    constexpr int kLines = 60;
    const std::string content = longText(kLines);
    ASSERT_TRUE(writeFile(folder + "/listing.txt", content));
    const std::string full = typedText(content);
    auto window = QuorvaneWindow::start(*session, folder, error);
    ASSERT_TRUE(window) << error;
    ASSERT_TRUE(window->selectFile("listing.txt"));
    ASSERT_TRUE(window->click("optFileType3"));
    ASSERT_TRUE(window->setText("txtMultFactorChar", "0.02"));
    ASSERT_TRUE(window->setText("txtMultFactorLine", "3")); // 300 ms after each line
    ASSERT_TRUE(window->click("btnSend"));

    const std::size_t lineLength = full.size() / kLines;
    board->waitForReceived([&](const std::string &bytes) { return bytes.size() > 3 * lineLength; }, 20s);
    ASSERT_TRUE(window->setText("txtMultFactorLine", "0.02"));
    const std::string whileHeld = board->received();
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(board->received(), whileHeld) << "typed while the window had the focus";
    EXPECT_EQ(windowName(session->display(), window->window()),
              "Quorvane - waiting: click the terminal or press Enter to go on");
    const std::size_t linesLeft = kLines - whileHeld.size() / lineLength;

    const auto confirmed = std::chrono::steady_clock::now();
    ASSERT_TRUE(window->key("Return"));
    EXPECT_EQ(board->waitForReceived([&](const std::string &bytes) { return bytes.size() >= full.size(); }, 30s), full);
    // At the old factor the lines left would take 300 ms each.
    EXPECT_LT(std::chrono::steady_clock::now() - confirmed, linesLeft * 150ms);
    EXPECT_EQ(board->waitForQuiet(300ms, 2s), full) << "more arrived after the text";
    EXPECT_EQ(window->text("txtMultFactorLine"), "0.02");
}

} // namespace
} // namespace quorvane::test
