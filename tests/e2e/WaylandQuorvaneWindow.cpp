// The real quorvane window on a headless sway, driven as a user would: clicks through a virtual pointer, and
// names typed through a virtual keyboard.
#include "tests/e2e/WaylandQuorvaneWindow.h"

#include "tests/e2e/BoardTerminal.h"
#include "tests/e2e/WindowSpots.h"
#include "tests/support/PollUntil.h"

#include <regex>
#include <thread>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

// The last "name": {"x": .., "y": .., "width": ..} before `end` in sway's tree: the node's own, since a window's
// node holds no other nodes.
std::optional<std::smatch> lastRect(const std::string &tree, std::size_t end, const std::string &name) {
    const std::regex rect("\"" + name + R"(":\s*\{\s*"x":\s*(-?\d+),\s*"y":\s*(-?\d+),\s*"width":\s*(\d+))");
    std::optional<std::smatch> last;
    for (auto it = std::sregex_iterator(tree.begin(), tree.begin() + static_cast<std::ptrdiff_t>(end), rect);
         it != std::sregex_iterator(); ++it) {
        last = *it;
    }
    return last;
}

} // namespace

std::unique_ptr<WaylandQuorvaneWindow> WaylandQuorvaneWindow::start(SwaySession &session, WaylandTestBackend &keyboard,
                                                                    const std::string &folder, std::string &error) {
    if (!writeStoredFolder(session.tempDir(), folder)) {
        error = "cannot store the default folder";
        return nullptr;
    }
    auto pointer = SwayPointer::open(session, error);
    if (!pointer) {
        return nullptr;
    }
    const std::string log = session.tempDir() + "/quorvane-window.log";
    auto process = ChildProcess::start({quorvanePath()}, session.environment(), log);
    if (!process) {
        error = "cannot start quorvane";
        return nullptr;
    }
    std::unique_ptr<WaylandQuorvaneWindow> window(
        new WaylandQuorvaneWindow(session, keyboard, std::move(pointer), std::move(*process)));
    if (!keyboard.windowTitled("Quorvane", 20s) || !pollUntil([&] { return window->geometry().has_value(); }, 5s)) {
        error = "the quorvane window did not appear (see " + log + ")";
        return nullptr;
    }
    // Qt paints and takes input a moment after the map; the first click must not fall into that gap.
    std::this_thread::sleep_for(300ms);
    return window;
}

std::optional<WaylandQuorvaneWindow::Geometry> WaylandQuorvaneWindow::geometry() const {
    const auto tree = m_session.query("get_tree");
    const std::size_t appId = tree ? tree->find("\"app_id\": \"quorvane\"") : std::string::npos;
    if (appId == std::string::npos) {
        return std::nullopt;
    }
    const auto outer = lastRect(*tree, appId, "rect");
    const auto inner = lastRect(*tree, appId, "window_rect");
    if (!outer || !inner) {
        return std::nullopt;
    }
    const Geometry result{std::stoi((*outer)[1]) + std::stoi((*inner)[1]),
                          std::stoi((*outer)[2]) + std::stoi((*inner)[2]), std::stoi((*inner)[3])};
    return result.width > 0 ? std::optional<Geometry>(result) : std::nullopt;
}

bool WaylandQuorvaneWindow::click(const std::string &control) {
    const auto spot = controlSpot(control);
    const auto place = geometry();
    if (!spot || !place) {
        return false;
    }
    const double scale = place->width / kWindowWidthTwips;
    return m_pointer->click(place->x + static_cast<int>(spot->x * scale), place->y + static_cast<int>(spot->y * scale));
}

bool WaylandQuorvaneWindow::selectFile(const std::string &name) {
    if (!click("FileListBox")) {
        return false;
    }
    m_keyboard.typeText(name);
    return true;
}

} // namespace quorvane::test
