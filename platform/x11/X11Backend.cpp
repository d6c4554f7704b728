// Opens the X11 desktop backend: one shared connection behind the desktop, layout and injector.
#include "platform/x11/X11Backend.h"

#include "platform/x11/X11Desktop.h"
#include "platform/x11/X11KeyInjector.h"
#include "platform/x11/X11KeyboardLayout.h"

namespace quorvane::platform {

DesktopBackend x11::openX11Backend(std::string &error) {
    auto session = x11::X11Session::open(error);
    if (!session) {
        return {};
    }
    auto keyboard = std::make_shared<x11::X11Keyboard>(session);
    DesktopBackend backend;
    backend.desktop = std::make_unique<x11::X11Desktop>(session);
    backend.layout = std::make_unique<x11::X11KeyboardLayout>(keyboard);
    backend.injector = std::make_unique<x11::X11KeyInjector>(keyboard);
    return backend;
}

std::uint16_t x11::X11KeyboardLayout::scanCode(std::uint16_t vk) {
    const KeyCode plain = m_keyboard->keycodeForVk(vk, false);
    return plain != 0 ? plain : m_keyboard->keycodeForVk(vk, true);
}

} // namespace quorvane::platform
