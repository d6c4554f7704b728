// Chooses the Linux desktop backend: Wayland where the compositor lets a client find windows and type into them,
// X11 otherwise; QUORVANE_BACKEND=x11|wayland overrides the choice.
#include "platform/DesktopBackend.h"
#include "platform/wayland/WaylandBackend.h"
#include "platform/x11/X11Backend.h"

#include <cstdlib>
#include <string_view>

namespace quorvane::platform {
namespace {

constexpr const char *kNoProtocols =
    "this Wayland desktop (GNOME or KDE Plasma, say) lets no program find other windows or type into them; "
    "run the terminal under XWayland and start Quorvane with QUORVANE_BACKEND=x11";

std::string_view variable(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr ? value : "";
}

DesktopBackend openWayland(std::shared_ptr<wayland::WaylandSession> session, std::string &error) {
    if (!session->offersProtocols()) {
        error = kNoProtocols;
        return {};
    }
    // The window belongs on the same desktop as the keys: without this Qt would pick X11 whenever the session
    // type is not announced, and under XWayland the compositor would see Quorvane's window as a stranger's.
    setenv("QT_QPA_PLATFORM", "wayland", 0);
    return wayland::openWaylandBackend(std::move(session), error);
}

} // namespace

DesktopBackend openDesktopBackend(std::string &error) {
    const std::string_view choice = variable("QUORVANE_BACKEND");
    if (choice == "x11") {
        return x11::openX11Backend(error);
    }
    if (choice == "wayland") {
        auto session = wayland::WaylandSession::open(error);
        return session ? openWayland(std::move(session), error) : DesktopBackend{};
    }
    if (!choice.empty()) {
        error = "QUORVANE_BACKEND must be x11 or wayland";
        return {};
    }
    if (!variable("WAYLAND_DISPLAY").empty()) {
        std::string waylandError;
        if (auto session = wayland::WaylandSession::open(waylandError)) {
            return openWayland(std::move(session), error);
        }
    }
    return x11::openX11Backend(error);
}

} // namespace quorvane::platform
