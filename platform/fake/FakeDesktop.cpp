// The scripted desktop.
#include "platform/fake/FakeDesktop.h"

#include <algorithm>
#include <utility>

namespace quorvane::platform {

void FakeDesktop::addWindow(WindowId id, std::string title, bool visible) {
    m_windows.push_back({id, std::move(title), visible});
}

void FakeDesktop::removeWindow(WindowId id) {
    std::erase_if(m_windows, [id](const TopLevelWindow &window) { return window.id == id; });
    if (m_foreground == id) {
        m_foreground.reset();
    }
}

std::vector<TopLevelWindow> FakeDesktop::topLevelWindows() {
    ++m_walks;
    return m_windows;
}

bool FakeDesktop::activate(WindowId window) {
    const bool exists =
        std::any_of(m_windows.begin(), m_windows.end(), [window](const TopLevelWindow &w) { return w.id == window; });
    const bool ok = exists && !m_refused.contains(window);
    if (m_transcript != nullptr) {
        m_transcript->add("activate #" + std::to_string(window) + (ok ? "" : " failed"));
    }
    if (ok) {
        m_foreground = window;
    }
    return ok;
}

std::optional<WindowId> FakeDesktop::foregroundWindow() {
    ++m_foregroundQueries;
    return m_foreground;
}

} // namespace quorvane::platform
