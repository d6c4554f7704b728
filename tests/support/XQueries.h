// Read-only questions that tests ask the X server: properties, windows, keyboard state.
#pragma once

#include <X11/Xlib.h>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quorvane::test {

// The 32-bit items of a property (CARDINAL, WINDOW, ATOM), empty when it is not set.
std::vector<unsigned long> longProperty(Display *display, Window window, const char *name);
bool isViewable(Display *display, Window window);
// The window carrying _NET_WM_PID `pid` (or, failing that, WM_NAME `title`) that is viewable.
std::optional<Window> findViewableClient(Display *display, pid_t pid, const std::string &title);

// WM_NAME, empty when the window has none.
std::string windowName(Display *display, Window window);
// The text that the owner of the PRIMARY selection (the text selected last, in any client) hands out as
// UTF-8; nothing when no client owns it or it does not answer within a second.
std::optional<std::string> primarySelection(Display *display);

// Everything a transfer may have changed on the keyboard and must leave as it found it.
struct KeyboardState {
    std::vector<KeySym> keymap; // core keymap, keysymsPerKeycode entries per keycode
    int keysymsPerKeycode = 0;
    std::vector<int> pressedKeycodes;
    unsigned baseModifiers = 0;   // held modifiers
    unsigned lockedModifiers = 0; // Caps Lock and the like
    int group = 0;

    bool operator==(const KeyboardState &) const = default;
};

KeyboardState keyboardState(Display *display);
// A readable account of how two states differ, for test messages.
std::string describeDifference(const KeyboardState &before, const KeyboardState &after);

} // namespace quorvane::test
