// Modal message boxes with MessageBoxW.
#pragma once

#include "platform/Dialogs.h"

#include <windows.h>

namespace quorvane::platform::win32 {

class Win32Dialogs : public Dialogs {
public:
    // `owner` is the window the box is modal to; null for a program without a window.
    explicit Win32Dialogs(HWND owner = nullptr) : m_owner(owner) {}

    void showMessage(std::string_view title, std::string_view text, MessageIcon icon) override;

private:
    HWND m_owner;
};

} // namespace quorvane::platform::win32
