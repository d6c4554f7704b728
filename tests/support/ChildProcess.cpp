// A child program started in a process group of its own, so that stopping it stops everything it started.
#include "tests/support/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
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

struct ChildSetup {
    char **argv;
    char **envp;
    const char *logPath;
    const std::vector<int> &keepFds;
    pid_t parent;
    int execStatusFd; // receives errno when exec fails; closed by a successful exec
};

// Runs in the forked child: only calls that are safe between fork and exec.
[[noreturn]] void runChild(const ChildSetup &setup) {
    setpgid(0, 0);
    // Killed with the test process, so that a crashed or timed-out test leaves no X server behind.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != setup.parent) {
        _exit(127);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGPIPE}) {
        signal(sig, SIG_DFL);
    }
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(setup.logPath, O_WRONLY | O_CREAT | O_APPEND, 0644);
    dup2(in, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
    for (int fd : setup.keepFds) {
        fcntl(fd, F_SETFD, 0);
    }
    execvpe(setup.argv[0], setup.argv, setup.envp);
    const int error = errno;
    [[maybe_unused]] ssize_t written = write(setup.execStatusFd, &error, sizeof error);
    _exit(127);
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
    std::vector<std::string> args = argv;
    std::vector<std::string> environment = mergedEnvironment(env);
    std::vector<char *> argPointers = pointers(args);
    std::vector<char *> envPointers = pointers(environment);
    const std::string log = logPath.empty() ? "/dev/null" : logPath;
    int execStatus[2];
    if (args.empty() || pipe2(execStatus, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        runChild({argPointers.data(), envPointers.data(), log.c_str(), keepFds, parent, execStatus[1]});
    }
    close(execStatus[1]);
    int childErrno = 0;
    const bool failed = pid < 0 || read(execStatus[0], &childErrno, sizeof childErrno) > 0;
    close(execStatus[0]);
    if (failed) {
        if (pid > 0) {
            waitpid(pid, nullptr, 0);
        }
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
