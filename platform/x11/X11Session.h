// The one connection to the X server that the backend shares, and the state it keeps current from events.
#pragma once

#include <X11/Xlib.h>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace quorvane::platform::x11 {

class X11Session {
public:
    // Connects to $DISPLAY; nothing on failure, with one line for the user in `error`.
    static std::shared_ptr<X11Session> open(std::string &error);
    X11Session(const X11Session &) = delete;
    X11Session &operator=(const X11Session &) = delete;
    ~X11Session();

    Display *display() const { return m_display; }
    Window root() const { return m_root; }
    Atom atom(const char *name);

    // Handles the events already received, without blocking and without a round trip.
    void processPendingEvents();

    // Keyboard state as the last events left it.
    int group() const { return m_group; }
    bool capsLockOn() const { return m_capsLock; }
    // Counts the changes of the locked modifiers seen so far, so that our own Caps Lock taps can be awaited.
    unsigned lockChanges() const { return m_lockChanges; }
    // Changes whenever the server's keymap changes (by anyone, this connection included).
    unsigned keymapGeneration() const { return m_keymapGeneration; }

    // True once a focus change may have happened since the last clearFocusChanged().
    bool focusChanged() const { return m_focusChanged; }
    void clearFocusChanged() { m_focusChanged = false; }
    // Reports focus and structure changes of `window` (another client's) through focusChanged().
    void watchWindow(Window window);

    // The server's current time, for requests that a window manager judges by time stamp.
    Time serverTime();

    // While this connection grabs the server, no other client's request is handled: the focus stays where it was
    // seen. Whoever waits for another client (a window manager's activation, a terminal's keymap fetch) must
    // release the grab first.
    void grabServer();
    void releaseServer();
    bool serverGrabbed() const { return m_grabbed; }
    std::chrono::steady_clock::duration grabAge() const { return std::chrono::steady_clock::now() - m_grabbedAt; }

private:
    explicit X11Session(Display *display);
    bool initKeyboard(std::string &error);
    void handleEvent(XEvent &event);

    Display *m_display = nullptr;
    Window m_root = 0;
    Window m_stampWindow = 0;
    int m_xkbEventBase = 0;
    int m_group = 0;
    bool m_capsLock = false;
    unsigned m_lockChanges = 0;
    unsigned m_keymapGeneration = 0;
    bool m_focusChanged = true;
    std::map<std::string, Atom> m_atoms;
    bool m_grabbed = false;
    std::chrono::steady_clock::time_point m_grabbedAt;
};

} // namespace quorvane::platform::x11
