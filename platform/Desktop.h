// The desktop's top-level windows: the walk in stacking order, activation and the focus.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::platform {

using WindowId = std::uintptr_t;

struct TopLevelWindow {
    WindowId id = 0;
    std::string title; // UTF-8; empty when the window has none
    bool visible = false;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // A snapshot of the top-level windows in stacking order, topmost first.
    virtual std::vector<TopLevelWindow> topLevelWindows() = 0;
    // Brings the window to the foreground with the keyboard focus. True only once it really has the focus.
    virtual bool activate(WindowId window) = 0;
    // The window that has the keyboard focus now. Called before every keystroke, so it must be cheap.
    virtual std::optional<WindowId> foregroundWindow() = 0;
    // True when the window belongs to this program (its main window or one of its message boxes).
    virtual bool isOwnWindow(WindowId window) {
        (void)window;
        return false;
    }
};

} // namespace quorvane::platform
