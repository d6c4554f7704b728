// The desktop's top-level windows on a wlroots compositor, through foreign-toplevel management.
#include "platform/wayland/WaylandDesktop.h"

#include "foreign-toplevel-management-v3-client.h"
#include "platform/DesktopFileName.h"

#include <algorithm>
#include <thread>

namespace quorvane::platform::wayland {
namespace {

constexpr std::chrono::milliseconds kStatePoll{2};

// Higher sorts nearer the top: the active window, then the most recently active, then the newest of the rest.
bool above(const Toplevel &a, const Toplevel &b) {
    if (a.activated != b.activated) {
        return a.activated;
    }
    if (a.lastActivated != b.lastActivated) {
        return a.lastActivated > b.lastActivated;
    }
    return a.id > b.id;
}

} // namespace

std::vector<TopLevelWindow> WaylandDesktop::topLevelWindows() {
    m_session->roundtrip();
    std::vector<Toplevel> order = m_session->toplevels();
    std::stable_sort(order.begin(), order.end(), above);
    std::vector<TopLevelWindow> windows;
    for (const Toplevel &toplevel : order) {
        windows.push_back(TopLevelWindow{toplevel.id, toplevel.title, true});
    }
    return windows;
}

// The activated state alone can be stale (seen once just after a flood of keys), so the request always goes
// out and the answer is awaited after it.
bool WaylandDesktop::activate(WindowId window) {
    if (!m_session->roundtrip()) {
        return false;
    }
    const Toplevel *toplevel = m_session->find(window);
    if (toplevel == nullptr) {
        return false;
    }
    zwlr_foreign_toplevel_handle_v1_activate(toplevel->handle, m_session->seat());
    const auto deadline = std::chrono::steady_clock::now() + kActivationDeadline;
    while (m_session->roundtrip()) {
        toplevel = m_session->find(window);
        if (toplevel == nullptr) {
            return false;
        }
        if (toplevel->activated) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kStatePoll);
    }
    return false;
}

std::optional<WindowId> WaylandDesktop::foregroundWindow() {
    m_session->dispatchPending();
    return m_session->activated();
}

bool WaylandDesktop::isOwnWindow(WindowId window) {
    m_session->dispatchPending();
    const Toplevel *toplevel = m_session->find(window);
    return toplevel != nullptr && toplevel->appId == kDesktopFileName;
}

} // namespace quorvane::platform::wayland
