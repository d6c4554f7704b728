// Property and tree look-ups on other clients' windows: titles, client windows, window-manager support.
#pragma once

#include "platform/x11/X11Session.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvane::platform::x11 {

// The 32-bit items of a property, empty when it is missing or of another format.
std::vector<unsigned long> longProperty(X11Session &session, Window window, const char *name);
bool hasProperty(X11Session &session, Window window, const char *name);
// _NET_WM_NAME (UTF-8), else WM_NAME converted to UTF-8; empty when the window has neither.
std::string windowTitle(X11Session &session, Window window);
bool isViewable(Display *display, Window window);
// True when the window manager keeps the client window minimised (WM_STATE IconicState).
bool isIconic(X11Session &session, Window window);
// The client window of a top-level window: itself when it carries WM_STATE or a title, else the first
// descendant that carries WM_STATE.
std::optional<Window> clientWindow(X11Session &session, Window window);
// The top-level client window that contains `window` (itself included).
std::optional<Window> containingClient(X11Session &session, Window window);
// True when a live EWMH window manager runs and handles _NET_ACTIVE_WINDOW.
bool windowManagerActivates(X11Session &session);

} // namespace quorvane::platform::x11
