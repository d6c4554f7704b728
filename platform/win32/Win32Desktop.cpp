// Window walk with GetWindow, activation with SetForegroundWindow checked against GetForegroundWindow.
#include "platform/win32/Win32Desktop.h"

#include "platform/win32/Win32Text.h"

namespace quorvane::platform::win32 {

namespace {

// Windows created, destroyed or restacked during the walk can make GW_HWNDNEXT revisit windows;
// no desktop holds this many top-level windows, so the bound only ends such a cycle.
constexpr int kMaxWindows = 1 << 16;
constexpr int kForegroundChecks = 50;
constexpr DWORD kForegroundCheckMs = 10;

HWND toHandle(WindowId id) { return reinterpret_cast<HWND>(id); }
WindowId toId(HWND window) { return reinterpret_cast<WindowId>(window); }

// SetForegroundWindow takes effect at once on Windows; Wine's X11 driver may confirm it a little later.
bool becameForeground(HWND window) {
    for (int i = 0; i < kForegroundChecks; ++i) {
        if (GetForegroundWindow() == window) {
            return true;
        }
        Sleep(kForegroundCheckMs);
    }
    return false;
}

} // namespace

Win32Desktop::Win32Desktop(HWND ownWindow) : m_ownWindow(ownWindow) {}

std::string windowTitle(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        return {};
    }
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    // The title can shrink between the two calls: keep only what was copied.
    buffer.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return toUtf8(buffer);
}

std::vector<TopLevelWindow> Win32Desktop::topLevelWindows() {
    const HWND start = (m_ownWindow != nullptr && IsWindow(m_ownWindow)) ? m_ownWindow : GetTopWindow(nullptr);
    std::vector<TopLevelWindow> windows;
    HWND window = start != nullptr ? GetWindow(start, GW_HWNDFIRST) : nullptr;
    for (int i = 0; window != nullptr && i < kMaxWindows; ++i) {
        windows.push_back({toId(window), windowTitle(window), IsWindowVisible(window) != FALSE});
        window = GetWindow(window, GW_HWNDNEXT);
    }
    return windows;
}

bool Win32Desktop::activate(WindowId id) {
    const HWND window = toHandle(id);
    if (window == nullptr || !IsWindow(window)) {
        return false;
    }
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    DWORD targetProcess = 0;
    GetWindowThreadProcessId(window, &targetProcess);
    AllowSetForegroundWindow(targetProcess);

    // The foreground lock lets the thread that owns the foreground hand it on; sharing its input state
    // for this one call makes our request count as that thread's. Detached again straight after.
    const HWND foreground = GetForegroundWindow();
    const DWORD self = GetCurrentThreadId();
    const DWORD foregroundThread = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const bool attached =
        foregroundThread != 0 && foregroundThread != self && AttachThreadInput(self, foregroundThread, TRUE) != FALSE;
    SetForegroundWindow(window);
    BringWindowToTop(window);
    if (attached) {
        AttachThreadInput(self, foregroundThread, FALSE);
    }
    return becameForeground(window);
}

bool Win32Desktop::isOwnWindow(WindowId window) {
    DWORD process = 0;
    GetWindowThreadProcessId(toHandle(window), &process);
    return process == GetCurrentProcessId();
}

std::optional<WindowId> Win32Desktop::foregroundWindow() {
    const HWND window = GetForegroundWindow();
    if (window == nullptr) {
        return std::nullopt;
    }
    return toId(window);
}

} // namespace quorvane::platform::win32
