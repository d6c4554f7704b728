// Opens the X11 desktop backend.
#pragma once

#include "platform/DesktopBackend.h"

namespace quorvane::platform::x11 {

// Connects to $DISPLAY; empty members and one line in `error` on failure.
DesktopBackend openX11Backend(std::string &error);

} // namespace quorvane::platform::x11
