// The "Serial port" choice through the real window: the port typed into its box, the file picked and Send
// pressed, with the simulated board on a pseudo-terminal pair at its realistic timing; the board's memory, the
// board's answers in the window and the port and rate stored for the next start.
// GoogleTest first: Xlib defines macros (None, Bool) that its headers use as names.
#include <gtest/gtest.h>

#include "tests/e2e/BoardTerminal.h"
#include "tests/e2e/ExpectedResults.h"
#include "tests/e2e/QuorvaneWindow.h"
#include "tests/e2e/SerialBoard.h"
#include "tests/support/PollUntil.h"
#include "tests/support/TempDir.h"
#include "tests/support/XQueries.h"

#include <filesystem>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

struct SerialWindowCase {
    const char *name;
    const char *file; // in samples/
    const char *typeControl;
    const char *monitorControl;
    const char *boardMonitor;
    const char *address;
    const char *readBack; // a line of the board's output that only the read-back shows
};

std::ostream &operator<<(std::ostream &out, const SerialWindowCase &c) { return out << c.name; }

std::string expectedImage(const SerialWindowCase &c) {
    const std::string file = c.file;
    if (file.ends_with(".bin")) {
        return imageText(binaryMemory(readFile(samplesFolder() + "/" + file).value_or(""), 0xFE00));
    }
    return readFile(samplesFolder() + "/" + file.substr(0, file.rfind('.')) + ".image").value_or("(no image)");
}

std::string filesFolder(const XSession &session, const std::string &file) {
    const std::string folder = session.tempDir() + "/files";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(samplesFolder() + "/" + file, folder + "/" + file,
                               std::filesystem::copy_options::overwrite_existing);
    return folder;
}

// The window shows the percentage while the transfer runs and its own name again once it has ended.
bool waitForTheEnd(const XSession &session, Window window) {
    return pollUntil([&] { return windowName(session.display(), window).find('%') != std::string::npos; }, 20s) &&
           pollUntil([&] { return windowName(session.display(), window) == "Quorvane"; }, 60s);
}

class SerialWindowTest : public testing::TestWithParam<SerialWindowCase> {};

TEST_P(SerialWindowTest, TheBoardHoldsTheFileAndTheWindowShowsItsAnswers) {
    const SerialWindowCase &c = GetParam();
    std::string error;
    auto session = XSession::start({.windowManager = true}, error);
    ASSERT_TRUE(session) << error;
    auto board = SerialBoard::start({c.boardMonitor, "prompt", {}}, error);
    ASSERT_TRUE(board) << error;
    auto window = QuorvaneWindow::start(*session, filesFolder(*session, c.file), error);
    ASSERT_TRUE(window) << error;

    ASSERT_TRUE(window->selectFile(c.file));
    for (const char *control : {c.typeControl, c.monitorControl, "optSerialPort"}) {
        ASSERT_TRUE(window->click(control)) << control;
    }
    ASSERT_TRUE(window->setText("cboSerialPort", board->port()));
    ASSERT_TRUE(window->setText("txtLoadAddress", c.address));
    ASSERT_TRUE(window->click("btnSend"));
    ASSERT_TRUE(waitForTheEnd(*session, window->window())) << windowName(session->display(), window->window());

    EXPECT_EQ(window->windowCount(), 1) << "a message box is open";
    const auto output = window->text("txtBoardOutput");
    ASSERT_TRUE(output);
    EXPECT_NE(output->find(c.readBack), std::string::npos) << *output;
    const std::string stored = readFile(session->tempDir() + "/Quorvane/Quorvane.conf").value_or("");
    EXPECT_NE(stored.find("Default%20Serial%20Port=" + board->port()), std::string::npos) << stored;
    EXPECT_NE(stored.find("Default%20Baud%20Rate=9600"), std::string::npos) << stored;
    EXPECT_NE(stored.find("Default%20Folder="), std::string::npos) << "the folder stays stored: " << stored;
    std::string status;
    EXPECT_EQ(board->finish(&status), expectedImage(c));
    EXPECT_NE(status.find("lost=0"), std::string::npos) << status;
}

INSTANTIATE_TEST_SUITE_P(Transfers, SerialWindowTest,
                         testing::Values(SerialWindowCase{"HexEvmbug", "even.bin", "optFileType2", "optEVMBUG",
                                                          "evmbug", "FE00", "FE08=FE04"},
                                         SerialWindowCase{"ObjectTibug", "demo.obj", "optFileType1", "optTIBUG",
                                                          "tibug", "", "FF44=4F21"}),
                         [](const auto &param) { return std::string(param.param.name); });

} // namespace
} // namespace quorvane::test
