// A window of the test process that takes the foreground and collects the key messages it receives.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quorvane::platform::win32::test {

class KeyCatcher {
public:
    explicit KeyCatcher(const std::wstring &title, bool show = true);
    ~KeyCatcher();
    KeyCatcher(const KeyCatcher &) = delete;
    KeyCatcher &operator=(const KeyCatcher &) = delete;

    HWND handle() const { return m_window; }
    // Runs the message loop until WM_CHAR has delivered `count` units or `timeoutMs` has passed.
    bool waitForChars(std::size_t count, DWORD timeoutMs = 5000);
    // Runs the message loop until a key-up of `vk` that was not yet dispatched arrives or `timeoutMs` has passed.
    bool waitForKeyUp(UINT vk, DWORD timeoutMs = 5000);

    const std::wstring &chars() const { return m_chars; }
    const std::vector<UINT> &keyDowns() const { return m_keyDowns; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    std::wstring m_chars;
    std::vector<UINT> m_keyDowns;
    std::vector<UINT> m_keyUps;
};

// Pumps this thread's messages for `ms` milliseconds.
void pumpFor(DWORD ms);

} // namespace quorvane::platform::win32::test
