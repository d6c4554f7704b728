// The progress on the window's taskbar button, through the shell's ITaskbarList3 where it is offered.
#pragma once

#include <windows.h>

struct ITaskbarList3;

namespace quorvane::platform::win32 {

// The shell announces the button with its registered message "TaskbarButtonCreated" (again after Explorer has
// restarted); the interface is taken only then. Before it, or where the shell has no such interface or refuses
// a call, nothing shows on the button and nothing fails.
class Win32TaskbarButton {
public:
    explicit Win32TaskbarButton(HWND window);
    ~Win32TaskbarButton();
    Win32TaskbarButton(const Win32TaskbarButton &) = delete;
    Win32TaskbarButton &operator=(const Win32TaskbarButton &) = delete;

    // True for the shell's message that the button exists, which the window hands on here.
    bool buttonCreated(UINT message);
    // 0 to 100; `paused` shows the bar in the shell's paused colour.
    void showProgress(int percent, bool paused);
    void clear();

private:
    void release();

    HWND m_window;
    UINT m_createdMessage;
    bool m_comStarted = false;
    ITaskbarList3 *m_taskbar = nullptr;
    int m_percent = -1;
    bool m_paused = false;
};

} // namespace quorvane::platform::win32
