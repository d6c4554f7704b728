// The simulated board in xterm or foot: starting it, reading its log and image, and closing its window.
#include "tests/e2e/BoardTerminal.h"

#include "tests/support/PollUntil.h"
#include "tests/support/TempDir.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

// A zombie left to a container's init that does not reap still answers kill(pid, 0): read its state instead.
bool alive(pid_t pid) {
    if (pid <= 0) {
        return false;
    }
    auto stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    if (!stat) {
        return false;
    }
    const auto close = stat->rfind(')');
    return close != std::string::npos && close + 2 < stat->size() && (*stat)[close + 2] != 'Z';
}

} // namespace

std::string quorvanePath() { return QUORVANE_PROGRAM_PATH; }
std::string boardsimPath() { return QUORVANE_BOARDSIM_PATH; }
std::string samplesFolder() { return QUORVANE_SAMPLES_FOLDER; }

BoardTerminal::BoardTerminal(const std::string &tempDir) {
    static std::atomic<int> serial{0};
    m_stem = tempDir + "/board" + std::to_string(serial++);
}

// The shell records the board's PID, so that the test can ask it for its image with SIGUSR1.
std::vector<std::string> BoardTerminal::command(const BoardSetup &setup) const {
    std::vector<std::string> argv = {"/bin/sh",
                                     "-c",
                                     "echo $$ > \"$0\"; exec \"$@\"",
                                     m_stem + ".pid",
                                     boardsimPath(),
                                     "--monitor",
                                     setup.monitor,
                                     "--start",
                                     setup.start,
                                     "--image",
                                     m_stem + ".image",
                                     "--status",
                                     m_stem + ".status",
                                     "--log",
                                     m_stem + ".log",
                                     "--ready",
                                     readyFile()};
    argv.insert(argv.end(), setup.extraArguments.begin(), setup.extraArguments.end());
    return argv;
}

std::unique_ptr<BoardTerminal> BoardTerminal::start(XSession &session, const BoardSetup &setup, std::string &error) {
    std::unique_ptr<BoardTerminal> board(new BoardTerminal(session.tempDir()));
    XtermOptions options;
    options.title = setup.title;
    options.readyFile = board->readyFile();
    options.command = board->command(setup);
    board->m_xterm = Xterm::start(session, options, error);
    return board->m_xterm ? std::move(board) : nullptr;
}

std::unique_ptr<BoardTerminal> BoardTerminal::start(SwaySession &session, const BoardSetup &setup, std::string &error) {
    std::unique_ptr<BoardTerminal> board(new BoardTerminal(session.tempDir()));
    board->m_foot = FootTerminal::start(session, setup.title, board->command(setup), board->readyFile(), error);
    return board->m_foot ? std::move(board) : nullptr;
}

BoardTerminal::~BoardTerminal() { close(); }

pid_t BoardTerminal::boardPid() const {
    auto text = readFile(m_stem + ".pid");
    return text ? static_cast<pid_t>(std::strtol(text->c_str(), nullptr, 10)) : -1;
}

std::string BoardTerminal::received() const { return readFile(m_stem + ".log").value_or(std::string()); }

std::string BoardTerminal::waitForReceived(const std::function<bool(const std::string &)> &done,
                                           std::chrono::milliseconds timeout) {
    std::string bytes;
    pollUntil(
        [&] {
            bytes = received();
            return done(bytes);
        },
        timeout);
    return bytes;
}

std::string BoardTerminal::waitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string last = received();
    auto changed = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < deadline && std::chrono::steady_clock::now() - changed < quiet) {
        std::this_thread::sleep_for(20ms);
        std::string now = received();
        if (now != last) {
            last = std::move(now);
            changed = std::chrono::steady_clock::now();
        }
    }
    return last;
}

std::optional<std::string> BoardTerminal::image() {
    const pid_t pid = boardPid();
    const std::string imagePath = m_stem + ".image";
    const std::string statusPath = m_stem + ".status";
    ::unlink(imagePath.c_str());
    ::unlink(statusPath.c_str());
    if (!alive(pid) || ::kill(pid, SIGUSR1) != 0) {
        return std::nullopt;
    }
    // The board writes each file whole and renames it into place, the image before the status.
    if (!pollUntil([&] { return fileExists(imagePath) && fileExists(statusPath); }, 3s)) {
        return std::nullopt;
    }
    return readFile(imagePath);
}

std::optional<std::string> BoardTerminal::waitForImage(const std::string &expected, std::chrono::milliseconds timeout) {
    std::optional<std::string> last;
    pollUntil(
        [&] {
            last = image();
            return last == expected;
        },
        timeout);
    return last;
}

std::optional<std::string> BoardTerminal::status() const { return readFile(m_stem + ".status"); }

void BoardTerminal::close() {
    if (!m_xterm && !m_foot) {
        return;
    }
    const pid_t pid = boardPid();
    m_xterm.reset();
    m_foot.reset();
    // The board ends on the hang-up of its terminal; one that does not must not outlive the test.
    if (alive(pid) && !pollUntil([pid] { return !alive(pid); }, 3s)) {
        ::kill(pid, SIGKILL);
    }
}

} // namespace quorvane::test
