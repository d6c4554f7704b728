// A snapshot of the server's XKB keymap, and what each key types as a terminal's key lookup sees it.
#pragma once

#include <X11/XKBlib.h>
#include <functional>
#include <optional>

namespace quorvane::platform::x11 {

// A key that types a keysym, and the Shift state it needs with Caps Lock off.
struct KeyChoice {
    KeyCode keycode = 0;
    bool shift = false;
    bool capsLockAffects = false; // with Caps Lock on, the opposite Shift state types the same keysym
};

class X11Keymap {
public:
    explicit X11Keymap(Display *display);
    X11Keymap(const X11Keymap &) = delete;
    X11Keymap &operator=(const X11Keymap &) = delete;
    ~X11Keymap();

    bool valid() const { return m_xkb != nullptr; }
    int minKeycode() const { return m_xkb ? m_xkb->min_key_code : 0; }
    int maxKeycode() const { return m_xkb ? m_xkb->max_key_code : -1; }

    // The keysym with Shift only (no AltGr, no other group), Caps Lock off.
    KeySym symbol(KeyCode keycode, int group, bool shift) const;
    // The keysym with Caps Lock on; nothing when it depends on whether the client converts case itself.
    std::optional<KeySym> symbolWithCapsLock(KeyCode keycode, int group, bool shift) const;
    // The first key that types `keysym` in `group` at a Shift-only level, and stays typable in the given Caps
    // Lock state; keys for which `skip` is true are passed over.
    std::optional<KeyChoice> find(KeySym keysym, int group, bool capsLock,
                                  const std::function<bool(KeyCode)> &skip) const;

private:
    KeySym translate(KeyCode keycode, int group, unsigned mods, unsigned &consumed) const;

    XkbDescPtr m_xkb = nullptr;
};

} // namespace quorvane::platform::x11
