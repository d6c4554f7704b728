// Windows runs a console control handler on a thread of its own: the request is posted to a message-only
// window, whose procedure runs on the user-interface thread inside the next pump pass.
#include "platform/win32/Win32ConsoleStop.h"

#include <atomic>

namespace quorvane::platform::win32 {
namespace {

constexpr UINT kStopMessage = WM_APP + 1;
std::atomic<HWND> g_target{nullptr};

} // namespace

Win32ConsoleStop::Win32ConsoleStop(std::function<void()> onStop) : m_onStop(std::move(onStop)) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &Win32ConsoleStop::windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuorvaneConsoleStop";
    RegisterClassW(&windowClass);
    m_window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               windowClass.hInstance, nullptr);
    if (m_window == nullptr) {
        return;
    }
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    g_target = m_window;
    m_installed = SetConsoleCtrlHandler(&Win32ConsoleStop::onControl, TRUE) != FALSE;
}

Win32ConsoleStop::~Win32ConsoleStop() {
    if (m_installed) {
        SetConsoleCtrlHandler(&Win32ConsoleStop::onControl, FALSE);
    }
    g_target = nullptr;
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
}

BOOL WINAPI Win32ConsoleStop::onControl(DWORD event) {
    const HWND target = g_target;
    if ((event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) || target == nullptr) {
        return FALSE; // closing the console or logging off ends the program as usual
    }
    PostMessageW(target, kStopMessage, 0, 0);
    return TRUE;
}

LRESULT CALLBACK Win32ConsoleStop::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kStopMessage) {
        auto *self = reinterpret_cast<Win32ConsoleStop *>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && self->m_onStop) {
            self->m_onStop();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool stderrIsConsole() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != FALSE;
}

} // namespace quorvane::platform::win32
