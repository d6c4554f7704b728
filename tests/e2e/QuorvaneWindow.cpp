// Starting the quorvane window on a test session and working its controls at their fixed places.
#include "tests/e2e/QuorvaneWindow.h"

#include "tests/e2e/BoardTerminal.h"
#include "tests/support/TempDir.h"
#include "tests/support/XQueries.h"

#include <filesystem>
#include <map>
#include <thread>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

// The window's width in twips; its layout is fixed in twips, so a control's place scales with the width.
constexpr double kWindowWidthTwips = 10785;

struct Spot {
    int x; // twips from the window's left edge
    int y; // twips from its top edge
};

// Option buttons and the check box are clicked on their indicator, at the left of the control.
const std::map<std::string, Spot> &spots() {
    constexpr int monitorFrameX = 7920, monitorFrameY = 1440;
    constexpr int typeFrameX = 7920, typeFrameY = 2520;
    constexpr int terminalFrameX = 7920, terminalFrameY = 6000;
    constexpr int serialFrameX = 120, serialFrameY = 8430;
    static const std::map<std::string, Spot> kSpots = {
        {"optTIBUG", {monitorFrameX + 220, monitorFrameY + 367}},
        {"optEVMBUG", {monitorFrameX + 220, monitorFrameY + 727}},
        {"optFileType0", {typeFrameX + 220, typeFrameY + 427}},
        {"optFileType1", {typeFrameX + 220, typeFrameY + 907}},
        {"chkIgnoreAddressTags", {typeFrameX + 500, typeFrameY + 1337}},
        {"optFileType2", {typeFrameX + 220, typeFrameY + 1747}},
        {"optFileType3", {typeFrameX + 220, typeFrameY + 2167}},
        {"txtMultFactorChar", {typeFrameX + 2467, typeFrameY + 2527}},
        {"txtMultFactorLine", {typeFrameX + 2467, typeFrameY + 3007}},
        {"optTeraTerm", {terminalFrameX + 220, terminalFrameY + 367}},
        {"optHyperTerminal", {terminalFrameX + 220, terminalFrameY + 727}},
        {"optSerialPort", {terminalFrameX + 1540, terminalFrameY + 367}},
        // Boxes and the output area are clicked inside their text, away from a list's button.
        {"cboSerialPort", {serialFrameX + 1500, serialFrameY + 457}},
        {"btnRefreshPorts", {serialFrameX + 5017, serialFrameY + 457}},
        {"cboBaudRate", {serialFrameX + 6400, serialFrameY + 457}},
        {"txtLoadAddress", {serialFrameX + 8797, serialFrameY + 457}},
        {"chkVerify", {serialFrameX + 9355, serialFrameY + 457}},
        {"txtBoardOutput", {serialFrameX + 5000, serialFrameY + 1400}},
        {"btnSend", {9307, 7387}},
        {"btnStop", {8587, 8087}},
        {"btnQuit", {10027, 8087}},
        // Below the last of a few files: a click there gives the list the focus and selects nothing.
        {"FileListBox", {5467, 8100}},
    };
    return kSpots;
}

bool writeStoredFolder(const XSession &session, const std::string &folder) {
    const std::string dir = session.tempDir() + "/Quorvane";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    return !error &&
           writeFile(dir + "/Quorvane.conf", "[Defaults]\nDefault%20Drive=/\nDefault%20Folder=" + folder + "\n");
}

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
    if (!writeStoredFolder(session, folder)) {
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
    const auto spot = spots().find(control);
    XWindowAttributes attributes{};
    if (spot == spots().end() || XGetWindowAttributes(m_session.display(), m_window, &attributes) == 0) {
        return false;
    }
    const double scale = attributes.width / kWindowWidthTwips;
    const int x = static_cast<int>(spot->second.x * scale);
    const int y = static_cast<int>(spot->second.y * scale);
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
