// Scripted top-level windows: titles, visibility, stacking order, the focus, and activation that can fail.
#pragma once

#include "platform/Desktop.h"
#include "platform/fake/Transcript.h"

#include <cstddef>
#include <set>

namespace quorvane::platform {

class FakeDesktop : public Desktop {
public:
    explicit FakeDesktop(Transcript *transcript = nullptr) : m_transcript(transcript) {}

    // Adds a window below all others in the stacking order.
    void addWindow(WindowId id, std::string title, bool visible = true);
    void removeWindow(WindowId id);
    // Gives the focus to `id` (any id, a window of another program say) without recording anything.
    void setForeground(std::optional<WindowId> id) { m_foreground = id; }
    // Activation of `id` fails from now on (the window ignores it, or the window manager refuses).
    void refuseActivation(WindowId id) { m_refused.insert(id); }
    // `id` belongs to the program under test.
    void markOwn(WindowId id) { m_own.insert(id); }

    std::vector<TopLevelWindow> topLevelWindows() override;
    // Records "activate #<id>" and, when it fails, "activate #<id> failed".
    bool activate(WindowId window) override;
    std::optional<WindowId> foregroundWindow() override;
    bool isOwnWindow(WindowId window) override { return m_own.contains(window); }

    std::size_t walks() const { return m_walks; }
    std::size_t foregroundQueries() const { return m_foregroundQueries; }

private:
    Transcript *m_transcript;
    std::vector<TopLevelWindow> m_windows;
    std::set<WindowId> m_refused;
    std::set<WindowId> m_own;
    std::optional<WindowId> m_foreground;
    std::size_t m_walks = 0;
    std::size_t m_foregroundQueries = 0;
};

} // namespace quorvane::platform
