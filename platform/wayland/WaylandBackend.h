// Opens the Wayland desktop backend on a wlroots compositor.
#pragma once

#include "platform/DesktopBackend.h"
#include "platform/wayland/WaylandSession.h"

namespace quorvane::platform::wayland {

// The backend on an open session that offers both protocols; empty members and `error` set on failure.
DesktopBackend openWaylandBackend(std::shared_ptr<WaylandSession> session, std::string &error);

} // namespace quorvane::platform::wayland
