// The real quorvane program on a test session: its send command line, or its window driven by mouse and keys.
#pragma once

#include "tests/support/XSession.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::test {

struct SendOutcome {
    std::optional<int> exitStatus; // nothing when it did not end in time
    std::string output;            // what it wrote on stdout and stderr
};

// `quorvane send ...` running in the background, for cases that act while it types.
class SendCommandRun {
public:
    static std::unique_ptr<SendCommandRun> start(XSession &session, const std::vector<std::string> &arguments);
    // On any desktop: `environment` reaches it, `tempDir` takes the output.
    static std::unique_ptr<SendCommandRun> start(const std::vector<std::string> &environment,
                                                 const std::string &tempDir, const std::vector<std::string> &arguments);
    // Runs `argv` as it stands, for a quorvane started through another program that execs it (same pid).
    static std::unique_ptr<SendCommandRun> startProgram(XSession &session, const std::vector<std::string> &argv);
    SendOutcome wait(std::chrono::milliseconds timeout);
    pid_t pid() const { return m_process.pid(); }

private:
    static std::unique_ptr<SendCommandRun> launch(const std::vector<std::string> &environment,
                                                  const std::string &tempDir, const std::vector<std::string> &argv);
    SendCommandRun(ChildProcess process, std::string logPath)
        : m_process(std::move(process)), m_logPath(std::move(logPath)) {}

    ChildProcess m_process;
    std::string m_logPath;
};

// Runs `quorvane` with `arguments` (starting with "send") to its end.
SendOutcome runSend(XSession &session, const std::vector<std::string> &arguments,
                    std::chrono::milliseconds timeout = std::chrono::seconds(60));
SendOutcome runSend(const std::vector<std::string> &environment, const std::string &tempDir,
                    const std::vector<std::string> &arguments,
                    std::chrono::milliseconds timeout = std::chrono::seconds(60));

} // namespace quorvane::test
