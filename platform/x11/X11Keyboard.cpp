// The keyboard as the backend sees it: the live keymap and group, virtual-key codes for its keys, bindings.
#include "platform/x11/X11Keyboard.h"

#include "platform/xkb/NamedKeysyms.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace quorvane::platform::x11 {

using xkb::namedKeysym;
using xkb::namedVirtualKey;

namespace {

// Codes that Windows leaves unassigned or OEM-specific, given to the keys that type other characters.
constexpr std::array<std::uint8_t, 46> kFreeVirtualKeys = {
    0x92, 0x93, 0x94, 0x95, 0x96, 0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE,
    0xDF, 0xE1, 0xE2, 0xE3, 0xE4, 0xE6, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1,
    0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xE0,
};

std::optional<std::uint16_t> letterOrDigit(KeySym sym) {
    if (sym >= XK_a && sym <= XK_z) {
        return static_cast<std::uint16_t>(sym - XK_a + 'A');
    }
    if ((sym >= XK_A && sym <= XK_Z) || (sym >= XK_0 && sym <= XK_9)) {
        return static_cast<std::uint16_t>(sym);
    }
    return std::nullopt;
}

constexpr char32_t kLineFeed = 10;

// Control characters that a key of their own types; the others are Ctrl combinations.
KeySym controlKeysym(char32_t ch) {
    switch (ch) {
    case 8:
        return XK_BackSpace;
    case 9:
        return XK_Tab;
    case 13:
        return XK_Return;
    case 27:
        return XK_Escape;
    default:
        return NoSymbol;
    }
}

} // namespace

KeySym keysymForCharacter(char32_t ch) {
    if ((ch >= 0x20 && ch <= 0x7E) || (ch >= 0xA0 && ch <= 0xFF)) {
        return ch; // Latin-1 keysyms equal their code points
    }
    if (ch == 0x20AC) {
        return XK_EuroSign; // what layouts carry, rather than its Unicode keysym
    }
    if (ch < 0x100 || (ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF) {
        return NoSymbol;
    }
    return 0x01000000 | ch;
}

X11Keyboard::X11Keyboard(std::shared_ptr<X11Session> session)
    : m_session(std::move(session)), m_binder(m_session->display()) {}

void X11Keyboard::refresh() {
    m_session->processPendingEvents();
    if (!m_keymap || m_loadedGeneration != m_session->keymapGeneration() || m_loadedGroup != m_session->group()) {
        reload();
    }
}

void X11Keyboard::ensureLoaded() {
    if (!m_keymap) {
        refresh();
    }
}

bool X11Keyboard::capsLockOn() { return m_session->capsLockOn(); }

void X11Keyboard::reload() {
    m_loadedGeneration = m_session->keymapGeneration();
    m_loadedGroup = m_session->group();
    m_keymap = std::make_unique<X11Keymap>(m_session->display());
    m_binder.forgetLost(*m_keymap);
    m_keycodeForVk.fill(0);
    m_vkForKeycode.fill(0);
    m_nextAllocated = 0;
    m_found.clear();
    for (int code = m_keymap->maxKeycode(); code >= m_keymap->minKeycode(); --code) {
        const auto keycode = static_cast<KeyCode>(code);
        if (m_binder.owns(keycode)) {
            continue;
        }
        // Walked downwards so that the lowest keycode with a letter or digit wins.
        for (bool shift : {true, false}) {
            if (auto vk = letterOrDigit(m_keymap->symbol(keycode, m_loadedGroup, shift))) {
                m_keycodeForVk[*vk] = keycode;
                m_vkForKeycode[keycode] = *vk;
            }
        }
    }
}

std::optional<KeyChoice> X11Keyboard::findOnLayout(KeySym keysym, bool capsLock) {
    const auto key = std::make_pair(keysym, capsLock);
    auto found = m_found.find(key);
    if (found == m_found.end()) {
        auto choice = m_keymap->find(keysym, m_loadedGroup, capsLock, [this](KeyCode k) { return m_binder.owns(k); });
        found = m_found.emplace(key, choice).first;
    }
    return found->second;
}

std::uint16_t X11Keyboard::virtualKeyFor(KeyCode keycode) {
    if (m_vkForKeycode[keycode] != 0 && m_keycodeForVk[m_vkForKeycode[keycode]] == keycode) {
        return m_vkForKeycode[keycode];
    }
    if (auto named = namedVirtualKey(static_cast<std::uint32_t>(m_keymap->symbol(keycode, m_loadedGroup, false)));
        named != 0 && keycodeForVk(named, false) == keycode) {
        return named;
    }
    if (m_nextAllocated == kFreeVirtualKeys.size()) {
        return 0;
    }
    const std::uint16_t vk = kFreeVirtualKeys[m_nextAllocated++];
    m_keycodeForVk[vk] = keycode;
    m_vkForKeycode[keycode] = vk;
    return vk;
}

std::optional<KeyForCharacter> X11Keyboard::keyForCharacter(char32_t ch) {
    ensureLoaded();
    if (KeySym control = controlKeysym(ch); control != NoSymbol) {
        const auto vk = namedVirtualKey(static_cast<std::uint32_t>(control));
        return keycodeForVk(vk, false) != 0 ? std::optional(KeyForCharacter{static_cast<std::uint8_t>(vk)})
                                            : std::nullopt;
    }
    // As Windows answers: the line feed is Ctrl+Enter, so it comes out the same on both.
    if (ch == kLineFeed && keycodeForVk(kVkReturn, false) != 0) {
        KeyForCharacter key;
        key.vk = kVkReturn;
        key.ctrl = true;
        return key;
    }
    const auto choice = findOnLayout(keysymForCharacter(ch), capsLockOn());
    if (!choice) {
        return std::nullopt;
    }
    const std::uint16_t vk = virtualKeyFor(choice->keycode);
    if (vk == 0 || vk > 0xFF) {
        return std::nullopt;
    }
    KeyForCharacter key;
    key.vk = static_cast<std::uint8_t>(vk);
    key.shift = choice->shift;
    key.capsLockAffects = choice->capsLockAffects;
    return key;
}

KeyCode X11Keyboard::keycodeForVk(std::uint16_t vk, bool extended) {
    ensureLoaded();
    if (vk < m_keycodeForVk.size() && m_keycodeForVk[vk] != 0 && namedKeysym(vk, extended) == NoSymbol) {
        return m_keycodeForVk[vk];
    }
    const KeySym sym = namedKeysym(vk, extended);
    if (sym == NoSymbol) {
        return 0;
    }
    if (auto choice = findOnLayout(sym, false)) {
        return choice->keycode;
    }
    return XKeysymToKeycode(m_session->display(), sym);
}

std::optional<TypingKey> X11Keyboard::keyForKeysym(KeySym keysym, bool capsLock) {
    ensureLoaded();
    if (auto choice = findOnLayout(keysym, capsLock)) {
        return TypingKey{choice->keycode, choice->shift != (capsLock && choice->capsLockAffects), false};
    }
    // Caps Lock would change the character (ß to ẞ, say): typed with Caps Lock briefly off.
    if (auto choice = capsLock ? findOnLayout(keysym, false) : std::nullopt) {
        return TypingKey{choice->keycode, choice->shift, true};
    }
    KeySym lower = NoSymbol, upper = NoSymbol;
    XConvertCase(keysym, &lower, &upper);
    // A titlecase letter (ǅ) is neither of its case pair: bound as the pair, it would come out as ǆ or Ǆ.
    if (keysym != lower && keysym != upper) {
        lower = upper = keysym;
    }
    const auto keycode = m_binder.bind(lower, upper);
    if (!keycode) {
        return std::nullopt;
    }
    // The server gives a bound pair the alphabetic type only when it knows the case pair itself (Latin-1,
    // not Greek or ẞ), so how Caps Lock acts on a bound key varies; with Caps Lock off, Shift picks the case.
    if (lower == upper) {
        return TypingKey{*keycode, std::nullopt, capsLock};
    }
    return TypingKey{*keycode, keysym == upper, capsLock};
}

} // namespace quorvane::platform::x11
