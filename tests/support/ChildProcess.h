// A child program started in a process group of its own, so that stopping it stops everything it started.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quorvane::test {

// The child is also killed when the thread that started it ends, so a crashed test leaves nothing running.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    ChildProcess(ChildProcess &&other) noexcept;
    ChildProcess &operator=(ChildProcess &&other) noexcept;
    ~ChildProcess();

    // Starts `argv` with `env` ("NAME=value") added to the environment; output goes to `logPath`
    // (or /dev/null). File descriptors in `keepFds` stay open in the child.
    static std::optional<ChildProcess> start(const std::vector<std::string> &argv,
                                             const std::vector<std::string> &env = {}, const std::string &logPath = {},
                                             const std::vector<int> &keepFds = {});
    // Runs `argv` to its end; the exit status, or nothing when it could not start, was killed or timed out.
    static std::optional<int> run(const std::vector<std::string> &argv, const std::vector<std::string> &env = {},
                                  std::chrono::milliseconds timeout = std::chrono::seconds(20));

    pid_t pid() const { return m_pid; }
    bool running();
    // Exit status once it has ended by itself within `timeout`.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    // SIGTERM to the whole group, SIGKILL after `grace`; reaps the child.
    void stop(std::chrono::milliseconds grace = std::chrono::milliseconds(2000));

private:
    explicit ChildProcess(pid_t pid) : m_pid(pid) {}

    pid_t m_pid = -1;
    std::optional<int> m_status;
};

} // namespace quorvane::test
