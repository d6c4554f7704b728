// Running quorvane's send command line on a test session and collecting its exit status and messages.
#include "tests/e2e/QuorvaneProcess.h"

#include "tests/e2e/BoardTerminal.h"
#include "tests/support/TempDir.h"

#include <atomic>

namespace quorvane::test {

std::unique_ptr<SendCommandRun> SendCommandRun::start(XSession &session, const std::vector<std::string> &arguments) {
    return start(session.environment(), session.tempDir(), arguments);
}

std::unique_ptr<SendCommandRun> SendCommandRun::start(const std::vector<std::string> &environment,
                                                      const std::string &tempDir,
                                                      const std::vector<std::string> &arguments) {
    std::vector<std::string> argv = {quorvanePath()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return launch(environment, tempDir, argv);
}

std::unique_ptr<SendCommandRun> SendCommandRun::startProgram(XSession &session, const std::vector<std::string> &argv) {
    return launch(session.environment(), session.tempDir(), argv);
}

std::unique_ptr<SendCommandRun> SendCommandRun::launch(const std::vector<std::string> &environment,
                                                       const std::string &tempDir,
                                                       const std::vector<std::string> &argv) {
    static std::atomic<int> serial{0};
    const std::string logPath = tempDir + "/send" + std::to_string(serial++) + ".out";
    auto process = ChildProcess::start(argv, environment, logPath);
    if (!process) {
        return nullptr;
    }
    return std::unique_ptr<SendCommandRun>(new SendCommandRun(std::move(*process), logPath));
}

SendOutcome SendCommandRun::wait(std::chrono::milliseconds timeout) {
    SendOutcome outcome;
    outcome.exitStatus = m_process.waitForExit(timeout);
    if (!outcome.exitStatus) {
        m_process.stop();
    }
    outcome.output = readFile(m_logPath).value_or(std::string());
    return outcome;
}

SendOutcome runSend(XSession &session, const std::vector<std::string> &arguments, std::chrono::milliseconds timeout) {
    return runSend(session.environment(), session.tempDir(), arguments, timeout);
}

SendOutcome runSend(const std::vector<std::string> &environment, const std::string &tempDir,
                    const std::vector<std::string> &arguments, std::chrono::milliseconds timeout) {
    auto run = SendCommandRun::start(environment, tempDir, arguments);
    if (!run) {
        return {std::nullopt, "quorvane could not be started"};
    }
    return run->wait(timeout);
}

} // namespace quorvane::test
