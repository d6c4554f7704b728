// A private X server for tests: Xvfb on a display of its own, optionally openbox, and keyboard-layout control.
#include "tests/support/XSession.h"

#include "tests/support/PollUntil.h"
#include "tests/support/TempDir.h"
#include "tests/support/XQueries.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

// No key or mouse bindings: Debian's default binds Print and Alt+F4, which would eat typed keys.
constexpr const char *kOpenboxConfig = R"(<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <desktops><number>1</number></desktops>
  <keyboard></keyboard>
  <mouse></mouse>
</openbox_config>
)";

// Reads the display number that Xvfb writes once it accepts connections.
std::optional<int> readDisplayNumber(int fd, std::chrono::milliseconds timeout) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (text.find('\n') == std::string::npos) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd entry{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
            return std::nullopt;
        }
        char buffer[32];
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            return std::nullopt;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return std::stoi(text);
}

// Xvfb picks the display with -displayfd; a lock file, where the server keeps one, must name our server.
bool lockFileAllows(int displayNumber, pid_t pid) {
    auto content = readFile(std::string("/tmp/.X").append(std::to_string(displayNumber)).append("-lock"));
    return !content || std::strtol(content->c_str(), nullptr, 10) == pid;
}

} // namespace

XSession::~XSession() {
    if (m_display != nullptr) {
        XCloseDisplay(m_display);
    }
    if (m_windowManager) {
        m_windowManager->stop();
    }
    if (m_server) {
        m_server->stop();
    }
    removeTree(m_tempDir);
}

std::unique_ptr<XSession> XSession::start(const XSessionOptions &options, std::string &error) {
    std::unique_ptr<XSession> session(new XSession());
    session->m_tempDir = makeTempDir("quorvane-x-");
    if (session->m_tempDir.empty()) {
        error = "cannot create a temporary directory";
        return nullptr;
    }
    if (!session->startServer(error)) {
        return nullptr;
    }
    if (!session->setLayout(options.layout)) {
        error = "setxkbmap " + options.layout + " failed";
        return nullptr;
    }
    if (options.windowManager && !session->startWindowManager(error)) {
        return nullptr;
    }
    return session;
}

namespace {

// Windows of other clients come and go while a test looks at them; Xlib's default handler would end the test.
int ignoreXError(Display *, XErrorEvent *) { return 0; }

} // namespace

bool XSession::startServer(std::string &error) {
    XSetErrorHandler(ignoreXError);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error = "pipe failed";
        return false;
    }
    m_server = ChildProcess::start(
        {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-noreset"},
        {}, m_tempDir + "/xvfb.log", {fds[1]});
    close(fds[1]);
    auto number = m_server ? readDisplayNumber(fds[0], 15s) : std::nullopt;
    close(fds[0]);
    if (!number || !lockFileAllows(*number, m_server->pid())) {
        error = "Xvfb did not start on a display of its own (see " + m_tempDir + "/xvfb.log)";
        return false;
    }
    m_displayNumber = *number;
    m_display = XOpenDisplay(displayName().c_str());
    if (m_display == nullptr) {
        error = "cannot connect to Xvfb on " + displayName();
        return false;
    }
    return true;
}

std::vector<pid_t> XSession::processes() const {
    return {m_server ? m_server->pid() : -1, m_windowManager ? m_windowManager->pid() : -1};
}

std::vector<std::string> XSession::environment() const {
    return {"DISPLAY=" + displayName(), "XAUTHORITY=/dev/null",         "XENVIRONMENT=/dev/null", "LANG=C.UTF-8",
            "LC_ALL=C.UTF-8",           "XDG_CONFIG_HOME=" + m_tempDir, "HOME=" + m_tempDir,      "WAYLAND_DISPLAY="};
}

bool XSession::startWindowManager(std::string &error) {
    const std::string config = m_tempDir + "/rc.xml";
    if (!writeFile(config, kOpenboxConfig)) {
        error = "cannot write " + config;
        return false;
    }
    m_windowManager =
        ChildProcess::start({"openbox", "--config-file", config}, environment(), m_tempDir + "/openbox.log");
    if (!m_windowManager || !pollUntil([this] { return windowManagerReady(); }, 15s) || !windowManagerMaps()) {
        error = "openbox did not become ready (see " + m_tempDir + "/openbox.log)";
        return false;
    }
    return true;
}

// openbox announces itself before its event loop runs, and a window mapped then can wait seconds for it.
// A probe window is mapped, with root property changes to wake the manager, until it is managed.
bool XSession::windowManagerMaps() const {
    Window root = DefaultRootWindow(m_display);
    Window probe = XCreateSimpleWindow(m_display, root, 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(m_display, probe);
    Atom wake = XInternAtom(m_display, "_QUORVANE_TEST_WAKE", False);
    bool mapped = pollUntil(
        [&] {
            XChangeProperty(m_display, root, wake, XA_STRING, 8, PropModeReplace, nullptr, 0);
            XSync(m_display, False);
            return isViewable(m_display, probe);
        },
        15s);
    XDestroyWindow(m_display, probe);
    XSync(m_display, False);
    return mapped;
}

bool XSession::windowManagerReady() const {
    Window root = DefaultRootWindow(m_display);
    auto check = longProperty(m_display, root, "_NET_SUPPORTING_WM_CHECK");
    if (check.empty()) {
        return false;
    }
    auto supported = longProperty(m_display, root, "_NET_SUPPORTED");
    Atom active = XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False);
    return std::find(supported.begin(), supported.end(), active) != supported.end();
}

bool XSession::setLayout(const std::string &layouts) {
    auto status =
        ChildProcess::run({"setxkbmap", "-display", displayName(), "-layout", layouts, "-option", ""}, environment());
    XSync(m_display, False);
    return status == 0;
}

bool XSession::lockGroup(int group) {
    bool sent = XkbLockGroup(m_display, XkbUseCoreKbd, static_cast<unsigned>(group)) != 0;
    XSync(m_display, False);
    return sent && activeGroup() == group;
}

bool XSession::setCapsLock(bool on) {
    bool sent = XkbLockModifiers(m_display, XkbUseCoreKbd, LockMask, on ? LockMask : 0) != 0;
    XSync(m_display, False);
    return sent && capsLockOn() == on;
}

bool XSession::capsLockOn() const {
    XkbStateRec state{};
    XkbGetState(m_display, XkbUseCoreKbd, &state);
    return (state.locked_mods & LockMask) != 0;
}

int XSession::activeGroup() const {
    XkbStateRec state{};
    XkbGetState(m_display, XkbUseCoreKbd, &state);
    return state.group;
}

} // namespace quorvane::test
