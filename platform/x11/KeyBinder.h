// Temporary bindings of keysyms that the layout lacks to spare keycodes, kept until the transfer ends.
#pragma once

#include "platform/x11/X11Keymap.h"

#include <X11/Xlib.h>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace quorvane::platform::x11 {

class KeyBinder {
public:
    explicit KeyBinder(Display *display) : m_display(display) {}

    // The spare keycode that types the lower/upper pair (bound together so that Shift picks the case);
    // nothing when the keyboard has no spare keycode.
    std::optional<KeyCode> bind(KeySym lower, KeySym upper);
    bool owns(KeyCode keycode) const;
    // Forgets bindings that a new keymap (another program's setxkbmap, say) has replaced.
    void forgetLost(const X11Keymap &keymap);
    // Gives every keycode it bound its empty entry back, unless someone else has rebound it since.
    void restore();
    // Accounts for key events just sent, to estimate when the terminal will have handled them.
    void noteEvents(std::size_t count);
    std::size_t boundCount() const { return m_bindings.size(); }
    // Runs before every wait for the terminal to have handled earlier presses.
    void setBeforeWait(std::function<void()> hook) { m_beforeWait = std::move(hook); }

private:
    using Clock = std::chrono::steady_clock;
    struct Binding {
        KeyCode keycode = 0;
        KeySym lower = NoSymbol;
        KeySym upper = NoSymbol;
        std::uint64_t lastUse = 0;
        Clock::time_point handledBy; // when the terminal has surely handled the last press of this key
    };

    void findSpareKeycodes();
    Binding *victim();
    void use(Binding &binding);
    void waitUntilHandled(Clock::time_point handledBy);
    void setKeysyms(KeyCode keycode, KeySym lower, KeySym upper);

    Display *m_display;
    std::vector<KeyCode> m_spare;
    bool m_spareKnown = false;
    std::vector<Binding> m_bindings;
    std::uint64_t m_uses = 0;
    Clock::time_point m_drainedAt; // estimate: the terminal has handled every event sent by then
    std::function<void()> m_beforeWait;
};

} // namespace quorvane::platform::x11
