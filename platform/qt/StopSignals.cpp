// The signal handlers write one byte to a pipe (the only safe thing a handler can do); a socket notifier on the
// user-interface thread reads it and runs the call. On Windows the control handler runs on a thread of its own
// and queues the call instead.
#include "platform/qt/StopSignals.h"

#include <QMetaObject>

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>
#endif

namespace quorvane::platform {
namespace {

StopSignals *g_instance = nullptr;

#ifdef _WIN32
// Windows ends the process as soon as the handler returns from a close, log-off or shut-down event: the handler
// holds it (within the seconds Windows allows) until the program has ended its transfer.
constexpr DWORD kEndGraceMs = 4500;
HANDLE g_ended = nullptr;

BOOL WINAPI consoleControl(DWORD type) {
    if (g_instance == nullptr) {
        return FALSE;
    }
    if (type == CTRL_C_EVENT) {
        QMetaObject::invokeMethod(g_instance, &StopSignals::deliverInterrupt, Qt::QueuedConnection);
        return TRUE;
    }
    QMetaObject::invokeMethod(g_instance, &StopSignals::deliverEnd, Qt::QueuedConnection);
    if (type != CTRL_BREAK_EVENT && g_ended != nullptr) {
        WaitForSingleObject(g_ended, kEndGraceMs);
    }
    return TRUE;
}
#else
constexpr char kInterruptByte = 'i';
constexpr char kEndByte = 'e';

int g_pipe[2] = {-1, -1};

struct Installed {
    int number;
    struct sigaction previous;
};
std::vector<Installed> g_installed;

// Every signal whose default action ends the program and that a handler may catch. SIGHUP that was ignored
// when the program started (nohup) stays ignored: surviving the hang-up is what the user asked for. SIGINT and
// SIGQUIT are taken even when ignored, as a non-interactive shell sets them for every background job.
std::vector<int> endingSignals() {
    std::vector<int> numbers = {SIGHUP,    SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGPIPE, SIGALRM,
                                SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGIO,   SIGPWR,  SIGSTKFLT};
    for (int number = SIGRTMIN; number <= SIGRTMAX; ++number) {
        numbers.push_back(number);
    }
    return numbers;
}

void onSignal(int number) {
    const char byte = number == SIGINT ? kInterruptByte : kEndByte;
    // Nothing to do if the pipe is full: requests already wait to be handled.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

void install(int number, bool evenIfIgnored) {
    struct sigaction current = {};
    if (::sigaction(number, nullptr, &current) != 0) {
        return;
    }
    const bool ignored = (current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_IGN;
    const bool defaulted = (current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_DFL;
    // A handler someone else installed (a profiler's, say) is theirs to keep.
    if (!defaulted && !(ignored && evenIfIgnored)) {
        return;
    }
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    Installed entry{number, {}};
    if (::sigaction(number, &action, &entry.previous) == 0) {
        g_installed.push_back(entry);
    }
}
#endif

} // namespace

#ifdef _WIN32
StopSignals::StopSignals(std::function<void()> onInterrupt, std::function<void()> onEnd, QObject *parent)
    : QObject(parent), m_onInterrupt(std::move(onInterrupt)), m_onEnd(std::move(onEnd)) {
    if (g_instance) {
        return;
    }
    g_ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_instance = this;
    m_installed = SetConsoleCtrlHandler(consoleControl, TRUE) != 0;
}

StopSignals::~StopSignals() {
    if (g_instance != this) {
        return;
    }
    g_instance = nullptr;
    if (g_ended != nullptr) {
        SetEvent(g_ended);
    }
    SetConsoleCtrlHandler(consoleControl, FALSE);
}
#else
StopSignals::StopSignals(std::function<void()> onInterrupt, std::function<void()> onEnd, QObject *parent)
    : QObject(parent), m_onInterrupt(std::move(onInterrupt)), m_onEnd(std::move(onEnd)) {
    if (g_instance || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0) {
        return;
    }
    g_instance = this;
    auto *notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        for (ssize_t n = ::read(g_pipe[0], bytes, sizeof bytes); n > 0; n = ::read(g_pipe[0], bytes, sizeof bytes)) {
            for (ssize_t i = 0; i < n; ++i) {
                if (bytes[i] == kInterruptByte) {
                    deliverInterrupt();
                } else {
                    deliverEnd();
                }
            }
        }
    });
    install(SIGINT, true);
    for (const int number : endingSignals()) {
        install(number, number == SIGQUIT);
    }
    m_installed = true;
}

StopSignals::~StopSignals() {
    if (!m_installed) {
        return;
    }
    for (const Installed &entry : g_installed) {
        ::sigaction(entry.number, &entry.previous, nullptr);
    }
    g_installed.clear();
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
    g_instance = nullptr;
}
#endif

void StopSignals::deliverInterrupt() {
    if (m_onInterrupt) {
        m_onInterrupt();
    }
}

void StopSignals::deliverEnd() {
    if (m_onEnd) {
        m_onEnd();
    }
}

bool stderrIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) != 0;
#endif
}

} // namespace quorvane::platform
