// The name of the program's desktop entry, which its windows also carry as their application id on Wayland.
#pragma once

namespace quorvane::platform {

// quorvane.desktop, without the extension. Panels find the window's icon by it, and the Wayland backend knows this
// program's own windows by it.
inline constexpr const char *kDesktopFileName = "quorvane";

} // namespace quorvane::platform
