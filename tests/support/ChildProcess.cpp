// A child program started in a process group of its own, so that stopping it stops everything it started.
#include "tests/support/ChildProcess.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

extern char **environ;

namespace quorvane::test {
namespace {

std::vector<std::string> mergedEnvironment(const std::vector<std::string> &extra) {
    std::vector<std::string> merged = extra;
    for (char **entry = environ; *entry != nullptr; ++entry) {
        std::string item = *entry;
        std::string name = item.substr(0, item.find('='));
        bool overridden = false;
        for (const auto &e : extra) {
            overridden = overridden || e.compare(0, name.size() + 1, name + "=") == 0;
        }
        if (!overridden) {
            merged.push_back(item);
        }
    }
    return merged;
}

std::vector<char *> pointers(std::vector<std::string> &strings) {
    std::vector<char *> result;
    for (auto &s : strings) {
        result.push_back(s.data());
    }
    result.push_back(nullptr);
    return result;
}

std::optional<int> decodeStatus(int status) {
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return std::nullopt;
}

} // namespace

ChildProcess::ChildProcess(ChildProcess &&other) noexcept
    : m_pid(std::exchange(other.m_pid, -1)), m_status(other.m_status) {}

ChildProcess &ChildProcess::operator=(ChildProcess &&other) noexcept {
    if (this != &other) {
        stop();
        m_pid = std::exchange(other.m_pid, -1);
        m_status = other.m_status;
    }
    return *this;
}

ChildProcess::~ChildProcess() { stop(); }

std::optional<ChildProcess> ChildProcess::start(const std::vector<std::string> &argv,
                                                const std::vector<std::string> &env, const std::string &logPath,
                                                const std::vector<int> &keepFds) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGHUP);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
    const std::string log = logPath.empty() ? "/dev/null" : logPath;
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    for (int fd : keepFds) {
        fcntl(fd, F_SETFD, 0);
    }
    std::vector<std::string> args = argv;
    std::vector<std::string> environment = mergedEnvironment(env);
    pid_t pid = -1;
    int rc =
        posix_spawnp(&pid, args[0].c_str(), &actions, &attributes, pointers(args).data(), pointers(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (rc != 0) {
        return std::nullopt;
    }
    return ChildProcess(pid);
}

std::optional<int> ChildProcess::run(const std::vector<std::string> &argv, const std::vector<std::string> &env,
                                     std::chrono::milliseconds timeout) {
    auto child = start(argv, env);
    if (!child) {
        return std::nullopt;
    }
    return child->waitForExit(timeout);
}

bool ChildProcess::running() {
    if (m_pid <= 0 || m_status) {
        return false;
    }
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_status = status;
        return false;
    }
    return true;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (running() || !m_status) {
        return std::nullopt;
    }
    return decodeStatus(*m_status);
}

void ChildProcess::stop(std::chrono::milliseconds grace) {
    if (m_pid <= 0) {
        return;
    }
    // The group may outlive its leader (a grandchild), so it is signalled whether or not the leader ended.
    kill(-m_pid, SIGTERM);
    if (running()) {
        waitForExit(grace);
    }
    kill(-m_pid, SIGKILL);
    if (running()) {
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_status = status;
    }
    m_pid = -1;
}

} // namespace quorvane::test
