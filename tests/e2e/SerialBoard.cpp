// Starting socat and boardsim on a pseudo-terminal pair, and the quorvane runs that talk to them.
#include "tests/e2e/SerialBoard.h"

#include "tests/e2e/BoardTerminal.h"
#include "tests/support/PollUntil.h"
#include "tests/support/TempDir.h"

#include <csignal>

namespace quorvane::test {

namespace {

using namespace std::chrono_literals;

std::string quoted(const std::string &text) {
    std::string out = "'";
    for (const char ch : text) {
        out += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    }
    return out + "'";
}

} // namespace

std::unique_ptr<SerialBoard> SerialBoard::start(const SerialBoardSetup &setup, std::string &error) {
    std::unique_ptr<SerialBoard> board(new SerialBoard);
    board->m_folder = makeTempDir("quorvane-serial-");
    const std::string &d = board->m_folder;
    auto socat = ChildProcess::start(
        {"socat", "pty,raw,echo=0,link=" + d + "/port", "pty,raw,echo=0,link=" + d + "/board"}, {}, d + "/socat.log");
    if (!socat || !pollUntil([&] { return fileExists(d + "/port") && fileExists(d + "/board"); }, 5s)) {
        error = "socat did not make the pseudo-terminal pair";
        return nullptr;
    }
    board->m_socat = std::move(*socat);
    std::string command = "exec " + quoted(boardsimPath()) + " --realistic --monitor " + setup.monitor + " --start " +
                          setup.start + " --image " + d + "/image --status " + d + "/status --ready " + d + "/ready" +
                          " --log " + d + "/received";
    for (const std::string &argument : setup.extraArguments) {
        command += " " + quoted(argument);
    }
    command += " <" + d + "/board >" + d + "/board";
    auto sim = ChildProcess::start({"sh", "-c", command}, {}, d + "/boardsim.log");
    if (!sim || !pollUntil([&] { return fileExists(d + "/ready"); }, 5s)) {
        error = "boardsim did not start on the pseudo-terminal";
        return nullptr;
    }
    board->m_board = std::move(*sim);
    return board;
}

SerialBoard::~SerialBoard() {
    if (m_board.running()) {
        kill(m_board.pid(), SIGCONT);
    }
    m_board.stop();
    m_socat.stop();
    if (!m_folder.empty()) {
        removeTree(m_folder);
    }
}

std::optional<std::string> SerialBoard::finish(std::string *status) {
    if (m_board.running()) {
        kill(m_board.pid(), SIGCONT);
        m_board.stop();
    }
    if (status) {
        *status = readFile(m_folder + "/status").value_or("");
    }
    return readFile(m_folder + "/image");
}

void SerialBoard::freeze() { kill(m_board.pid(), SIGSTOP); }

void SerialBoard::unplug() { m_socat.stop(); }

std::optional<QuorvaneRun> QuorvaneRun::start(const std::vector<std::string> &arguments, const std::string &logPath) {
    std::vector<std::string> argv{quorvanePath()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return startProgram(argv, {}, logPath);
}

std::optional<QuorvaneRun> QuorvaneRun::startProgram(const std::vector<std::string> &argv,
                                                     const std::vector<std::string> &env, const std::string &logPath) {
    auto process = ChildProcess::start(argv, env, logPath);
    if (!process) {
        return std::nullopt;
    }
    return QuorvaneRun(std::move(*process), logPath);
}

CommandOutcome QuorvaneRun::wait(std::chrono::milliseconds timeout) {
    CommandOutcome outcome;
    outcome.exitStatus = m_process.waitForExit(timeout);
    if (!outcome.exitStatus) {
        m_process.stop();
    }
    outcome.output = readFile(m_logPath).value_or("");
    return outcome;
}

CommandOutcome runQuorvane(const std::vector<std::string> &arguments, const std::string &logPath,
                           std::chrono::milliseconds timeout) {
    std::vector<std::string> argv{quorvanePath()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return runProgram(argv, {}, logPath, timeout);
}

CommandOutcome runProgram(const std::vector<std::string> &argv, const std::vector<std::string> &env,
                          const std::string &logPath, std::chrono::milliseconds timeout) {
    auto run = QuorvaneRun::startProgram(argv, env, logPath);
    if (!run) {
        return {};
    }
    return run->wait(timeout);
}

} // namespace quorvane::test
