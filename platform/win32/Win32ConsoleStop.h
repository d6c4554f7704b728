// Turns the console's Ctrl+C and Ctrl+Break into a call on the user-interface thread, and tells whether the
// error stream is a console.
#pragma once

#include <windows.h>

#include <functional>

namespace quorvane::platform::win32 {

class Win32ConsoleStop {
public:
    // Installs the console control handler; `onStop` runs inside an event-pump pass, once per request.
    // One instance at a time.
    explicit Win32ConsoleStop(std::function<void()> onStop);
    ~Win32ConsoleStop();
    Win32ConsoleStop(const Win32ConsoleStop &) = delete;
    Win32ConsoleStop &operator=(const Win32ConsoleStop &) = delete;

    bool installed() const { return m_installed; }

private:
    static BOOL WINAPI onControl(DWORD event);
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::function<void()> m_onStop;
    HWND m_window = nullptr;
    bool m_installed = false;
};

// True when standard error is a console, where a progress line can be redrawn in place.
bool stderrIsConsole();

} // namespace quorvane::platform::win32
