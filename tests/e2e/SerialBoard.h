// The simulated board on the far end of a pseudo-terminal pair, for the serial transfers; no display needed.
#pragma once

#include "tests/support/ChildProcess.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::test {

struct SerialBoardSetup {
    std::string monitor = "evmbug"; // boardsim --monitor
    std::string start = "prompt";   // boardsim --start
    std::vector<std::string> extraArguments;
};

struct CommandOutcome {
    std::optional<int> exitStatus; // nothing when it did not end in time
    std::string output;            // stdout and stderr together
};

class SerialBoard {
public:
    // socat joins two pseudo-terminals: quorvane opens port(), boardsim (with --realistic timing) reads the other.
    static std::unique_ptr<SerialBoard> start(const SerialBoardSetup &setup, std::string &error);
    ~SerialBoard();

    std::string port() const { return m_folder + "/port"; }
    const std::string &folder() const { return m_folder; }
    // Ends the board and returns the memory image it wrote and its counters (received=, lost=, errors=).
    std::optional<std::string> finish(std::string *status = nullptr);
    // The board stops answering: its process is suspended, the line stays open.
    void freeze();
    // The line goes away, as an unplugged adapter: socat ends and both pseudo-terminals close.
    void unplug();

private:
    SerialBoard() = default;

    std::string m_folder;
    ChildProcess m_socat;
    ChildProcess m_board;
};

// `quorvane ARGS` started in the background, output into a file; `wait` collects it.
class QuorvaneRun {
public:
    static std::optional<QuorvaneRun> start(const std::vector<std::string> &arguments, const std::string &logPath);
    // Another build of the program (the Windows one under Wine, say): `argv` as it stands.
    static std::optional<QuorvaneRun> startProgram(const std::vector<std::string> &argv,
                                                   const std::vector<std::string> &env, const std::string &logPath);
    CommandOutcome wait(std::chrono::milliseconds timeout);
    pid_t pid() const { return m_process.pid(); }

private:
    QuorvaneRun(ChildProcess process, std::string logPath)
        : m_process(std::move(process)), m_logPath(std::move(logPath)) {}

    ChildProcess m_process;
    std::string m_logPath;
};

CommandOutcome runQuorvane(const std::vector<std::string> &arguments, const std::string &logPath,
                           std::chrono::milliseconds timeout = std::chrono::seconds(120));
// Any program (`argv`, with `env` added), output into `logPath`; stopped, with no exit status, after `timeout`.
CommandOutcome runProgram(const std::vector<std::string> &argv, const std::vector<std::string> &env,
                          const std::string &logPath, std::chrono::milliseconds timeout);

} // namespace quorvane::test
