// The desktop's top-level windows on Win32: the walk in stacking order, activation and the foreground window.
#pragma once

#include "platform/Desktop.h"

#include <windows.h>

namespace quorvane::platform::win32 {

class Win32Desktop : public Desktop {
public:
    // `ownWindow` is the program's own top-level window, where the walk starts; null when it has none.
    explicit Win32Desktop(HWND ownWindow = nullptr);

    std::vector<TopLevelWindow> topLevelWindows() override;
    bool activate(WindowId window) override;
    std::optional<WindowId> foregroundWindow() override;
    bool isOwnWindow(WindowId window) override;

    void setOwnWindow(HWND ownWindow) { m_ownWindow = ownWindow; }

private:
    HWND m_ownWindow;
};

// The title as GetWindowTextW copies it (length first, then a buffer of length + 1), in UTF-8.
std::string windowTitle(HWND window);

} // namespace quorvane::platform::win32
