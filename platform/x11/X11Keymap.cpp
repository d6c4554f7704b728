// A snapshot of the server's XKB keymap, and what each key types as a terminal's key lookup sees it.
#include "platform/x11/X11Keymap.h"

#include <X11/Xutil.h>

namespace quorvane::platform::x11 {

X11Keymap::X11Keymap(Display *display) : m_xkb(XkbGetMap(display, XkbAllClientInfoMask, XkbUseCoreKbd)) {}

X11Keymap::~X11Keymap() {
    if (m_xkb != nullptr) {
        XkbFreeKeyboard(m_xkb, 0, True);
    }
}

KeySym X11Keymap::translate(KeyCode keycode, int group, unsigned mods, unsigned &consumed) const {
    KeySym sym = NoSymbol;
    consumed = 0;
    if (m_xkb == nullptr || keycode < m_xkb->min_key_code || keycode > m_xkb->max_key_code) {
        return NoSymbol;
    }
    // Out-of-range groups wrap or clamp as the key says, the way the server resolves them.
    XkbTranslateKeyCode(m_xkb, keycode, XkbBuildCoreState(mods, group), &consumed, &sym);
    return sym;
}

KeySym X11Keymap::symbol(KeyCode keycode, int group, bool shift) const {
    unsigned consumed = 0;
    return translate(keycode, group, shift ? ShiftMask : 0, consumed);
}

// When the key's type does not use Lock, Xlib upper-cases the keysym itself; whether a given client does
// so is not ours to know, so a keysym that such a conversion would change counts as uncertain.
std::optional<KeySym> X11Keymap::symbolWithCapsLock(KeyCode keycode, int group, bool shift) const {
    unsigned consumed = 0;
    const KeySym sym = translate(keycode, group, (shift ? ShiftMask : 0) | LockMask, consumed);
    if ((consumed & LockMask) != 0) {
        return sym;
    }
    KeySym lower = NoSymbol, upper = NoSymbol;
    XConvertCase(sym, &lower, &upper);
    if (upper != sym) {
        return std::nullopt;
    }
    return sym;
}

std::optional<KeyChoice> X11Keymap::find(KeySym keysym, int group, bool capsLock,
                                         const std::function<bool(KeyCode)> &skip) const {
    if (keysym == NoSymbol) {
        return std::nullopt;
    }
    for (int code = minKeycode(); code <= maxKeycode(); ++code) {
        const auto keycode = static_cast<KeyCode>(code);
        if (skip && skip(keycode)) {
            continue;
        }
        for (bool shift : {false, true}) {
            if (symbol(keycode, group, shift) != keysym) {
                continue;
            }
            const bool same = symbolWithCapsLock(keycode, group, shift) == keysym;
            const bool inverted = !same && symbolWithCapsLock(keycode, group, !shift) == keysym;
            if (!capsLock || same || inverted) {
                return KeyChoice{keycode, shift, inverted};
            }
        }
    }
    return std::nullopt;
}

} // namespace quorvane::platform::x11
