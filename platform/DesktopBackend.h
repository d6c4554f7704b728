// Opens the desktop backend that the program was built with (X11 on Linux, Win32 on Windows).
#pragma once

#include "platform/Desktop.h"
#include "platform/KeyInjector.h"
#include "platform/KeyboardLayout.h"

#include <memory>
#include <string>

namespace quorvane::platform {

struct DesktopBackend {
    std::unique_ptr<Desktop> desktop;
    std::unique_ptr<KeyboardLayout> layout;
    std::unique_ptr<KeyInjector> injector;
};

// Connects to the desktop. On failure the result's members are empty and `error` holds one line for the user.
DesktopBackend openDesktopBackend(std::string &error);

} // namespace quorvane::platform
