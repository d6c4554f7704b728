// Opens the Wayland desktop backend on a wlroots compositor.
#include "platform/wayland/WaylandBackend.h"

#include "platform/wayland/WaylandDesktop.h"
#include "platform/wayland/WaylandKeyInjector.h"
#include "platform/wayland/WaylandKeyboardLayout.h"

namespace quorvane::platform::wayland {

DesktopBackend openWaylandBackend(std::shared_ptr<WaylandSession> session, std::string &error) {
    auto injector = std::make_unique<WaylandKeyInjector>(session);
    if (!injector->ready()) {
        error = "the Wayland compositor refused a virtual keyboard";
        return {};
    }
    DesktopBackend backend;
    backend.desktop = std::make_unique<WaylandDesktop>(session);
    backend.layout = std::make_unique<WaylandKeyboardLayout>();
    backend.injector = std::move(injector);
    return backend;
}

} // namespace quorvane::platform::wayland
