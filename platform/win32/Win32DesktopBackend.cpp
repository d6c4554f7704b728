// Opens the Win32 desktop backend: window walk and activation, layout look-ups, SendInput.
#include "platform/DesktopBackend.h"

#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32KeyInjector.h"
#include "platform/win32/Win32KeyboardLayout.h"

namespace quorvane::platform {

DesktopBackend openDesktopBackend(std::string &error) {
    // A service or a locked session has no input desktop: SendInput would silently insert nothing there.
    HDESK input = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
    if (input == nullptr) {
        error = "Quorvane cannot reach the interactive desktop, so it cannot type into another window.";
        return {};
    }
    CloseDesktop(input);
    DesktopBackend backend;
    backend.desktop = std::make_unique<win32::Win32Desktop>();
    backend.layout = std::make_unique<win32::Win32KeyboardLayout>();
    backend.injector = std::make_unique<win32::Win32KeyInjector>();
    return backend;
}

} // namespace quorvane::platform
