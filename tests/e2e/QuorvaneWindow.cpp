// Starting the quorvane window on a test session and working its controls at their fixed places.
#include "tests/e2e/QuorvaneWindow.h"

#include "tests/e2e/BoardTerminal.h"
#include "tests/e2e/WindowSpots.h"
#include "tests/support/TempDir.h"
#include "tests/support/XQueries.h"

#include <filesystem>
#include <thread>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

int countWindows(Display *display, Window window, pid_t pid, int depth) {
    auto pids = longProperty(display, window, "_NET_WM_PID");
    if (!pids.empty() && static_cast<pid_t>(pids[0]) == pid && isViewable(display, window)) {
        return 1;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (depth == 0 || XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
        return 0;
    }
    int found = 0;
    for (unsigned i = 0; i < count; ++i) {
        found += countWindows(display, children[i], pid, depth - 1);
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

} // namespace

std::unique_ptr<QuorvaneWindow> QuorvaneWindow::start(XSession &session, const std::string &folder,
                                                      std::string &error) {
    if (!writeStoredFolder(session.tempDir(), folder)) {
        error = "cannot store the default folder";
        return nullptr;
    }
    auto process = ChildProcess::start({quorvanePath()}, session.environment(), session.tempDir() + "/quorvane.log");
    if (!process) {
        error = "cannot start quorvane";
        return nullptr;
    }
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline && process->running()) {
        if (auto window = findViewableClient(session.display(), process->pid(), {})) {
            std::unique_ptr<QuorvaneWindow> result(new QuorvaneWindow(session, std::move(*process), *window));
            // Qt paints and takes input a moment after the map; the first click must not fall into that gap.
            std::this_thread::sleep_for(300ms);
            return result;
        }
        std::this_thread::sleep_for(20ms);
    }
    error = "the quorvane window did not appear (see " + session.tempDir() + "/quorvane.log)";
    return nullptr;
}

QuorvaneWindow::~QuorvaneWindow() { m_process.stop(); }

bool QuorvaneWindow::xdotool(const std::vector<std::string> &arguments) {
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return ChildProcess::run(argv, m_session.environment()) == 0;
}

// Without a window manager nobody gives the window the focus; with one, it is activated as a click would.
bool QuorvaneWindow::focus() {
    const std::string id = std::to_string(m_window);
    return m_session.hasWindowManager() ? xdotool({"windowactivate", "--sync", id})
                                        : xdotool({"windowfocus", "--sync", id});
}

bool QuorvaneWindow::click(const std::string &control) {
    const auto spot = controlSpot(control);
    XWindowAttributes attributes{};
    if (!spot || XGetWindowAttributes(m_session.display(), m_window, &attributes) == 0) {
        return false;
    }
    const double scale = attributes.width / kWindowWidthTwips;
    const int x = static_cast<int>(spot->x * scale);
    const int y = static_cast<int>(spot->y * scale);
    return xdotool(
        {"mousemove", "--window", std::to_string(m_window), std::to_string(x), std::to_string(y), "click", "1"});
}

bool QuorvaneWindow::selectFile(const std::string &name) {
    return focus() && click("FileListBox") && xdotool({"type", "--delay", "20", name});
}

bool QuorvaneWindow::setText(const std::string &control, const std::string &text) {
    return focus() && click(control) && xdotool({"key", "ctrl+a"}) && xdotool({"type", "--delay", "20", text});
}

std::optional<std::string> QuorvaneWindow::text(const std::string &control) {
    if (!focus() || !click(control) || !key("ctrl+a")) {
        return std::nullopt;
    }
    return primarySelection(m_session.display());
}

bool QuorvaneWindow::key(const std::string &keys) { return xdotool({"key", keys}); }

int QuorvaneWindow::windowCount() const {
    XSync(m_session.display(), False);
    return countWindows(m_session.display(), DefaultRootWindow(m_session.display()), m_process.pid(), 3);
}

} // namespace quorvane::test
