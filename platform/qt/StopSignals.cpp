// The signal handlers write one byte to a pipe (the only safe thing a handler can do); a socket notifier on the
// user-interface thread reads it and runs the stop. On Windows the control handler runs on a thread of its own
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
#endif

namespace quorvane::platform {
namespace {

StopSignals *g_instance = nullptr;

#ifdef _WIN32
BOOL WINAPI consoleControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    if (g_instance) {
        QMetaObject::invokeMethod(g_instance, &StopSignals::deliver, Qt::QueuedConnection);
    }
    return TRUE;
}
#else
int g_pipe[2] = {-1, -1};
struct sigaction g_previous[2];
constexpr int kSignals[2] = {SIGINT, SIGTERM};

void onSignal(int) {
    const char byte = 1;
    // Nothing to do if the pipe is full: stops already wait to be handled.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}
#endif

} // namespace

#ifdef _WIN32
StopSignals::StopSignals(std::function<void()> onStop, QObject *parent) : QObject(parent), m_onStop(std::move(onStop)) {
    g_instance = this;
    m_installed = SetConsoleCtrlHandler(consoleControl, TRUE) != 0;
}

StopSignals::~StopSignals() {
    SetConsoleCtrlHandler(consoleControl, FALSE);
    g_instance = nullptr;
}
#else
StopSignals::StopSignals(std::function<void()> onStop, QObject *parent) : QObject(parent), m_onStop(std::move(onStop)) {
    if (g_instance || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0) {
        return;
    }
    g_instance = this;
    auto *notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        for (ssize_t n = ::read(g_pipe[0], bytes, sizeof bytes); n > 0; n = ::read(g_pipe[0], bytes, sizeof bytes)) {
            for (ssize_t i = 0; i < n; ++i) {
                deliver();
            }
        }
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 2; ++i) {
        ::sigaction(kSignals[i], &action, &g_previous[i]);
    }
    m_installed = true;
}

StopSignals::~StopSignals() {
    if (!m_installed) {
        return;
    }
    for (int i = 0; i < 2; ++i) {
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
    }
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
    g_instance = nullptr;
}
#endif

void StopSignals::deliver() {
    if (m_onStop) {
        m_onStop();
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
