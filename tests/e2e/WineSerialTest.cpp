// quorvane-cli.exe and quorvane.exe under Wine over a COM port that the Wine prefix maps to one end of a
// pseudo-terminal pair, with the simulated board (realistic timing) on the other end: the monitor transfers with
// their read-back and images compared, Ctrl+C in the middle of one, a port that does not exist, a port that another
// transfer holds, and the window's "Serial port" choice worked by serialwindowdriver. Run by the Windows build's
// tests, which name the programs, the Wine launcher and the session (see tests/win32/CMakeLists.txt).
// GoogleTest first: Xlib, which the shared helpers' headers reach, defines macros (None, Bool) that it uses as names.
#include <gtest/gtest.h>

#include "tests/e2e/BoardTerminal.h"
#include "tests/e2e/ExpectedResults.h"
#include "tests/e2e/SerialBoard.h"
#include "tests/support/PollUntil.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

std::string environment(const char *name) {
    const char *value = std::getenv(name);
    return value ? value : "";
}

std::string windowsPath(const std::string &unixPath) { return "Z:" + unixPath; }

std::string sample(const std::string &name) { return samplesFolder() + "/" + name; }

// The Wine prefix of the Windows build's session, started (with ctest as its owner) when none runs yet. The session
// goes in a process group of its own: its Xvfb and desktop must outlive this child's group, which is ended with it.
std::string winePrefix() {
    const std::string state = environment("QUORVANE_WINE_SESSION");
    ChildProcess::run(
        {"setsid", "--wait", environment("QUORVANE_WINE_RUN"), environment("QUORVANE_WINDOWS_CLI"), "--help"},
        {"QUORVANE_WINE_OWNER=" + std::to_string(getppid())}, 120s);
    std::istringstream lines(readFile(state).value_or(""));
    const std::string key = "export WINEPREFIX=";
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(key)) {
            return line.substr(key.size());
        }
    }
    return {};
}

// COMn in the prefix's dosdevices, a link to `device`; the first free number from 20, so that tests running side by
// side in one session never share a port.
class WineComPort {
public:
    WineComPort(const std::string &prefix, const std::string &device) {
        for (int number = 20; number < 100 && m_name.empty(); ++number) {
            const std::string link = prefix + "/dosdevices/com" + std::to_string(number);
            if (symlink(device.c_str(), link.c_str()) == 0) {
                m_name = "COM" + std::to_string(number);
                m_link = link;
            } else if (errno != EEXIST) {
                break;
            }
        }
    }
    ~WineComPort() {
        if (!m_link.empty()) {
            unlink(m_link.c_str());
        }
    }
    WineComPort(const WineComPort &) = delete;
    WineComPort &operator=(const WineComPort &) = delete;

    const std::string &name() const { return m_name; }

private:
    std::string m_name;
    std::string m_link;
};

std::vector<std::string> windowsCommand(const std::vector<std::string> &arguments,
                                        const char *program = "QUORVANE_WINDOWS_CLI") {
    std::vector<std::string> argv{environment("QUORVANE_WINE_RUN"), environment(program)};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return argv;
}

std::vector<std::string> ownerEnv() { return {"QUORVANE_WINE_OWNER=" + std::to_string(getppid())}; }

class WineSerialTest : public testing::Test {
protected:
    void SetUp() override {
        if (environment("QUORVANE_WINDOWS_CLI").empty()) {
            GTEST_SKIP() << "run by the Windows build's tests (ctest --preset win32), which name quorvane-cli.exe";
        }
        m_prefix = winePrefix();
        ASSERT_FALSE(m_prefix.empty()) << "no Wine session in " << environment("QUORVANE_WINE_SESSION");
    }

    std::string m_prefix;
};

struct WineTransferCase {
    const char *name;
    const char *file;
    const char *type;
    const char *monitor;
    std::vector<std::string> extra;
    std::vector<const char *> said; // parts of what the program says, all of them
};

std::ostream &operator<<(std::ostream &out, const WineTransferCase &c) { return out << c.name; }

class WineTransferTest : public WineSerialTest, public testing::WithParamInterface<WineTransferCase> {};

std::string expectedImage(const std::string &file) {
    if (file.ends_with(".bin")) {
        return imageText(binaryMemory(readFile(sample(file)).value_or(""), 0xFE00));
    }
    return readFile(sample(file.substr(0, file.rfind('.')) + ".image")).value_or("(no sample image)");
}

TEST_P(WineTransferTest, BoardHoldsTheFile) {
    const WineTransferCase &c = GetParam();
    std::string error;
    auto board = SerialBoard::start({c.monitor, "prompt", {}}, error);
    ASSERT_TRUE(board) << error;
    WineComPort port(m_prefix, board->port());
    ASSERT_FALSE(port.name().empty());
    std::vector<std::string> arguments{
        "send", windowsPath(sample(c.file)), "--type", c.type, "--monitor", c.monitor, "--port", port.name()};
    arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
    const CommandOutcome outcome =
        runProgram(windowsCommand(arguments), ownerEnv(), board->folder() + "/quorvane.log", 120s);
    std::string status;
    const auto image = board->finish(&status);
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    for (const char *part : c.said) {
        EXPECT_NE(outcome.output.find(part), std::string::npos) << part << " in:\n" << outcome.output;
    }
    EXPECT_EQ(image.value_or(""), expectedImage(c.file));
    EXPECT_NE(status.find("lost=0"), std::string::npos) << status;
}

const std::vector<std::string> kAtFE00{"--address", "FE00"};

INSTANTIATE_TEST_SUITE_P(
    MonitorTransfers, WineTransferTest,
    testing::Values(
        WineTransferCase{"ObjectEvmbug", "demo.obj", "object", "evmbug", {}, {"verified: 10 words"}},
        WineTransferCase{
            "ObjectWithEntryTibug", "entry.obj", "object", "tibug", {}, {"verified: 3 words", "entry is at B000."}},
        WineTransferCase{"EntryWithoutReadBack",
                         "entry.obj",
                         "object",
                         "evmbug",
                         {"--no-verify"},
                         {"quorvane: The program's entry is at B000."}},
        WineTransferCase{"HexEvmbug", "even.bin", "hex", "evmbug", kAtFE00, {"verified: 5 words"}},
        WineTransferCase{"HexOddTibug", "odd.bin", "hex", "tibug", kAtFE00, {"verified: 3 words"}}),
    [](const auto &param) { return std::string(param.param.name); });

// A port whose driver Device Manager does not list is still in the registry's SERIALCOMM map, as Wine's are.
TEST_F(WineSerialTest, PortsListsTheRegisteredPortsInNumberOrder) {
    const std::string values = "QuorvaneTest" + std::to_string(getpid());
    const auto reg = [&](const std::string &arguments) {
        return ChildProcess::run(
            {"bash", "-c",
             "source " + environment("QUORVANE_WINE_SESSION") + " && \"$WINE\" reg " + arguments + " >/dev/null 2>&1"},
            {}, 60s);
    };
    const std::string key = "'HKLM\\HARDWARE\\DEVICEMAP\\SERIALCOMM'";
    ASSERT_EQ(reg("add " + key + " /v " + values + "a /d COM28 /f"), 0);
    ASSERT_EQ(reg("add " + key + " /v " + values + "b /d COM3 /f"), 0);
    TempFolder folder("quorvane-wine-ports-");
    const CommandOutcome outcome =
        runProgram(windowsCommand({"ports"}), ownerEnv(), (folder.path() / "ports.log").string(), 60s);
    reg("delete " + key + " /v " + values + "a /f");
    reg("delete " + key + " /v " + values + "b /f");
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    std::string lines = outcome.output; // a Windows program ends its lines with CR LF
    std::erase(lines, '\r');
    const std::size_t com3 = lines.find("COM3\n");
    const std::size_t com28 = lines.find("COM28\n");
    EXPECT_NE(com3, std::string::npos) << lines;
    EXPECT_NE(com28, std::string::npos) << lines;
    EXPECT_LT(com3, com28) << lines;
}

TEST_F(WineSerialTest, PortThatDoesNotExistSendsNothing) {
    std::string error;
    auto board = SerialBoard::start({"evmbug", "prompt", {}}, error);
    ASSERT_TRUE(board) << error;
    const CommandOutcome outcome =
        runProgram(windowsCommand({"send", windowsPath(sample("even.bin")), "--address", "FE00", "--port", "COM99"}),
                   ownerEnv(), board->folder() + "/q.log", 60s);
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    EXPECT_NE(outcome.output.find("The serial port \"COM99\" does not exist."), std::string::npos) << outcome.output;
}

TEST_F(WineSerialTest, PortInUseSaysSoAndSendsNothing) {
    std::string error;
    auto board = SerialBoard::start({"evmbug", "prompt", {}}, error);
    ASSERT_TRUE(board) << error;
    WineComPort port(m_prefix, board->port());
    ASSERT_FALSE(port.name().empty());
    // About 300 words: the holder is still loading when the second program starts, several seconds later.
    const std::string big = board->folder() + "/big.bin";
    ASSERT_TRUE(writeFile(big, std::string(600, '\x5A')));
    auto holder = QuorvaneRun::startProgram(
        windowsCommand({"send", windowsPath(big), "--address", "FE00", "--no-verify", "--port", port.name()}),
        ownerEnv(), board->folder() + "/holder.log");
    ASSERT_TRUE(holder);
    ASSERT_TRUE(pollUntil([&] { return !readFile(board->folder() + "/received").value_or("").empty(); }, 60s));
    const CommandOutcome outcome = runProgram(
        windowsCommand({"send", windowsPath(sample("even.bin")), "--address", "FE00", "--port", port.name()}),
        ownerEnv(), board->folder() + "/q.log", 60s);
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    EXPECT_NE(
        outcome.output.find("The serial port \"" + port.name() + "\" is in use by another program. Nothing was sent."),
        std::string::npos)
        << outcome.output;
    const CommandOutcome held = holder->wait(120s);
    EXPECT_EQ(held.exitStatus, 0) << held.output;
    std::string status;
    EXPECT_EQ(board->finish(&status).value_or(""), imageText(binaryMemory(std::string(600, '\x5A'), 0xFE00)));
    EXPECT_NE(status.find("lost=0"), std::string::npos) << status;
}

// Under Wine only a Unix SIGINT raises the console's Ctrl+C event: Wine runs the program straight from the shell's
// exec, so that the signal reaches it and not a launcher.
TEST_F(WineSerialTest, CtrlCFinishesTheWordAndSendsNothingMore) {
    std::string error;
    auto board = SerialBoard::start({"evmbug", "prompt", {}}, error);
    ASSERT_TRUE(board) << error;
    WineComPort port(m_prefix, board->port());
    ASSERT_FALSE(port.name().empty());
    std::string data; // 300 words, each unlike its neighbours
    for (int i = 0; i < 600; ++i) {
        data += static_cast<char>((i * 37 + 11) & 0xFF);
    }
    const std::string file = board->folder() + "/words.bin";
    ASSERT_TRUE(writeFile(file, data));
    auto run = QuorvaneRun::startProgram({"bash", "-c", "source \"$0\" && exec \"$WINE\" \"$@\"",
                                          environment("QUORVANE_WINE_SESSION"), environment("QUORVANE_WINDOWS_CLI"),
                                          "send", windowsPath(file), "--address", "FE00", "--port", port.name()},
                                         {}, board->folder() + "/q.log");
    ASSERT_TRUE(run);
    const std::string received = board->folder() + "/received";
    ASSERT_TRUE(pollUntil([&] { return readFile(received).value_or("").size() > 60; }, 60s))
        << readFile(board->folder() + "/q.log").value_or("");
    kill(run->pid(), SIGINT);
    const CommandOutcome outcome = run->wait(60s);
    // What the program wrote last reaches the board at the line's pace, after the program has ended.
    std::this_thread::sleep_for(2s);
    std::string status;
    const std::string image = board->finish(&status).value_or("");
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    EXPECT_NE(outcome.output.find("stopped"), std::string::npos) << outcome.output;
    const auto words = static_cast<std::size_t>(std::count(image.begin(), image.end(), '\n'));
    ASSERT_GT(words, 0u) << outcome.output;
    ASSERT_LT(words, data.size() / 2) << "the whole file was sent";
    EXPECT_EQ(image, imageText(binaryMemory(data.substr(0, 2 * words), 0xFE00)));
    char lastWord[8];
    std::snprintf(lastWord, sizeof lastWord, "%02X%02X ", static_cast<unsigned char>(data[2 * words - 2]),
                  static_cast<unsigned char>(data[2 * words - 1]));
    EXPECT_TRUE(readFile(received).value_or("").ends_with(lastWord))
        << "the board received more than the stored words: " << readFile(received).value_or("");
    EXPECT_NE(status.find("lost=0"), std::string::npos) << status;
}

// quorvane.exe's window over the COM port: what serialwindowdriver saw, one kind per line ("end: ...").
struct WindowCase {
    const char *name;
    const char *file;
    std::vector<std::string> clicks; // the file type and the monitor, then the choice
    const char *boardMonitor;
    const char *address;
    bool boardFrozen;     // it answers nothing from the start
    const char *endLine;  // a regular expression
    const char *message;  // part of the one message box; none when empty
    const char *readBack; // a line of the board's output that only the read-back shows
};

std::ostream &operator<<(std::ostream &out, const WindowCase &c) { return out << c.name; }

std::vector<std::string> shown(const std::string &output, const std::string &kind) {
    std::vector<std::string> found;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::erase(line, '\r');
        if (line.starts_with(kind + ": ")) {
            found.push_back(line.substr(kind.size() + 2));
        }
    }
    return found;
}

class WineWindowTest : public WineSerialTest, public testing::WithParamInterface<WindowCase> {};

TEST_P(WineWindowTest, TheWindowSendsOverThePortAndShowsTheBoardsAnswers) {
    const WindowCase &c = GetParam();
    std::string error;
    auto board = SerialBoard::start({c.boardMonitor, "prompt", {}}, error);
    ASSERT_TRUE(board) << error;
    WineComPort port(m_prefix, board->port());
    ASSERT_FALSE(port.name().empty());
    if (c.boardFrozen) {
        board->freeze();
    }
    std::vector<std::string> arguments{windowsPath(sample(c.file)), "--port", port.name(), "--baud", "9600"};
    if (*c.address != '\0') {
        arguments.insert(arguments.end(), {"--address", c.address});
    }
    for (const std::string &control : c.clicks) {
        arguments.insert(arguments.end(), {"--click", control});
    }
    const CommandOutcome outcome = runProgram(windowsCommand(arguments, "QUORVANE_WINDOW_DRIVER"), ownerEnv(),
                                              board->folder() + "/driver.log", 240s);
    std::string status;
    const auto image = board->finish(&status);
    ASSERT_EQ(outcome.exitStatus, 0) << outcome.output;
    const std::vector<std::string> end = shown(outcome.output, "end");
    ASSERT_EQ(end.size(), 1u) << outcome.output;
    EXPECT_TRUE(std::regex_match(end[0], std::regex(c.endLine))) << end[0];
    const std::vector<std::string> messages = shown(outcome.output, "message");
    if (*c.message == '\0') {
        EXPECT_TRUE(messages.empty()) << outcome.output;
    } else {
        ASSERT_EQ(messages.size(), 1u) << outcome.output;
        EXPECT_NE(messages[0].find(c.message), std::string::npos) << messages[0];
    }
    if (!c.boardFrozen) {
        const std::vector<std::string> during = shown(outcome.output, "during");
        const std::vector<std::string> atTheEnd = shown(outcome.output, "output");
        ASSERT_EQ(during.size(), 1u) << outcome.output;
        ASSERT_EQ(atTheEnd.size(), 1u) << outcome.output;
        EXPECT_FALSE(during[0].empty()) << "nothing shown while it ran";
        EXPECT_NE(atTheEnd[0].find(c.readBack), std::string::npos) << atTheEnd[0];
        EXPECT_EQ(image.value_or(""), expectedImage(c.file));
        EXPECT_NE(status.find("lost=0"), std::string::npos) << status;
    }
}

INSTANTIATE_TEST_SUITE_P(SerialChoice, WineWindowTest,
                         testing::Values(WindowCase{"HexEvmbug",
                                                    "even.bin",
                                                    {"optFileType2", "optEVMBUG", "optSerialPort"},
                                                    "evmbug",
                                                    "FE00",
                                                    false,
                                                    "Sent even\\.bin: 5 words in [0-9 a-z]+, verified: 5 words",
                                                    "",
                                                    "FE08=FE04"},
                                         WindowCase{"ObjectTibug",
                                                    "demo.obj",
                                                    {"optFileType1", "optTIBUG", "optSerialPort"},
                                                    "tibug",
                                                    "",
                                                    false,
                                                    "Sent demo\\.obj: 10 words in [0-9 a-z]+, verified: 10 words",
                                                    "",
                                                    "FF44=4F21"},
                                         WindowCase{"BoardSilent",
                                                    "even.bin",
                                                    {"optFileType2", "optEVMBUG", "optSerialPort"},
                                                    "evmbug",
                                                    "FE00",
                                                    true,
                                                    "Board stopped answering after 0 of 5 words",
                                                    "The board stopped answering at the ",
                                                    nullptr}),
                         [](const auto &param) { return std::string(param.param.name); });

} // namespace
} // namespace quorvane::test
