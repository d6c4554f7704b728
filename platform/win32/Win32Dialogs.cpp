// Message boxes: UTF-8 texts shown through the wide MessageBoxW, one OK button, the icon asked for.
#include "platform/win32/Win32Dialogs.h"

#include "platform/win32/Win32Text.h"

namespace quorvane::platform::win32 {

namespace {

UINT iconStyle(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Warning:
        return MB_ICONWARNING;
    case MessageIcon::Error:
        return MB_ICONERROR;
    case MessageIcon::None:
        break;
    }
    return 0;
}

} // namespace

void Win32Dialogs::showMessage(std::string_view title, std::string_view text, MessageIcon icon) {
    const std::wstring wideTitle = toWide(title);
    const std::wstring wideText = toWide(text);
    // Without an owner the box could open behind the terminal that a transfer has just brought forward.
    const UINT ownerless = m_owner == nullptr ? MB_SETFOREGROUND | MB_TASKMODAL : 0;
    MessageBoxW(m_owner, wideText.c_str(), wideTitle.c_str(), MB_OK | iconStyle(icon) | ownerless);
}

} // namespace quorvane::platform::win32
