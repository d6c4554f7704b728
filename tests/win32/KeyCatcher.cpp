// The test window: a plain top-level window whose procedure records WM_KEYDOWN, WM_KEYUP and WM_CHAR.
#include "KeyCatcher.h"

#include <algorithm>

namespace quorvane::platform::win32::test {

namespace {

constexpr wchar_t kClassName[] = L"QuorvaneKeyCatcher";

void registerClassOnce() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
}

template <typename Done> bool pumpUntil(Done done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

} // namespace

KeyCatcher::KeyCatcher(const std::wstring &title, bool show) {
    registerClassOnce();
    m_window = CreateWindowExW(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 60, 60, 320, 200, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeyCatcher::windowProc));
    if (show) {
        ShowWindow(m_window, SW_SHOWNORMAL);
        pumpFor(50);
    }
}

KeyCatcher::~KeyCatcher() {
    if (IsWindow(m_window)) {
        DestroyWindow(m_window);
    }
    pumpFor(20);
}

LRESULT CALLBACK KeyCatcher::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto *self = reinterpret_cast<KeyCatcher *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        self->m_keyDowns.push_back(static_cast<UINT>(wParam));
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        self->m_keyUps.push_back(static_cast<UINT>(wParam));
        return 0;
    case WM_CHAR:
        self->m_chars.push_back(static_cast<wchar_t>(wParam));
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool KeyCatcher::waitForChars(std::size_t count, DWORD timeoutMs) {
    return pumpUntil([&] { return m_chars.size() >= count; }, timeoutMs);
}

bool KeyCatcher::waitForKeyUp(UINT vk, DWORD timeoutMs) {
    m_keyUps.clear(); // what is still queued has not been dispatched yet
    return pumpUntil([&] { return std::find(m_keyUps.begin(), m_keyUps.end(), vk) != m_keyUps.end(); }, timeoutMs);
}

void pumpFor(DWORD ms) {
    pumpUntil([] { return false; }, ms);
}

} // namespace quorvane::platform::win32::test
