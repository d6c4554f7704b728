// Key records to a virtual keyboard on a wlroots compositor, through a keymap of Quorvane's own.
#include "platform/wayland/WaylandKeyInjector.h"

#include "foreign-toplevel-management-v3-client.h"
#include "platform/xkb/NamedKeysyms.h"
#include "virtual-keyboard-v1-client.h"

#include <sys/mman.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

namespace quorvane::platform::wayland {
namespace {

using xkb::namedKeysym;

constexpr std::uint32_t kKeymapFormatXkbV1 = 1; // wl_keyboard.keymap_format.xkb_v1
constexpr std::uint32_t kReleased = 0;          // wl_keyboard.key_state
constexpr std::uint32_t kPressed = 1;
constexpr auto kPressInterval = std::chrono::nanoseconds(1'000'000'000 / WaylandKeyInjector::kMaxPressesPerSecond);
// Presses may run ahead of the cap by this much after a pause, as a burst.
constexpr std::chrono::milliseconds kBurst{10};

constexpr char32_t kBlock = 16;
// Keys left for single characters once blocks have filled the keymap.
constexpr std::size_t kKeepFree = 64;
// A terminal reads each keymap afresh; a stream of them faster than it can compile them makes the compositor
// drop the terminal (seen with foot under sway), so each new keymap gets this long before the next key.
constexpr std::chrono::milliseconds kKeymapDigest{20};

bool typeable(char32_t ch) { return ch >= 0xA0 && (ch < 0xD800 || ch > 0xDFFF) && ch <= 0x10FFFF; }

std::uint32_t modifierMask(std::uint16_t vk) {
    switch (vk) {
    case kVkShift:
    case kVkLeftShift:
    case kVkRightShift:
        return VirtualKeymap::kShiftMask;
    case kVkControl:
    case kVkLeftControl:
    case kVkRightControl:
        return VirtualKeymap::kControlMask;
    case kVkAlt:
    case kVkLeftAlt:
    case kVkRightAlt:
        return VirtualKeymap::kAltMask;
    default:
        return 0;
    }
}

// The key that a terminal turns into the control character when Ctrl is held, as Xlib and xkbcommon do:
// '@'..'~' masked to 5 bits, '2' is NUL, '3'..'7' are ESC..US, '8' is DEL.
std::uint32_t controlBase(char32_t ch) {
    if (ch == 0) {
        return XKB_KEY_2;
    }
    if (ch <= 26) {
        return XKB_KEY_a + (ch - 1);
    }
    if (ch < 32) {
        return XKB_KEY_3 + (ch - 27);
    }
    return XKB_KEY_8;
}

} // namespace

WaylandKeyInjector::WaylandKeyInjector(std::shared_ptr<WaylandSession> session) : m_session(std::move(session)) {
    if (m_session->keyboardManager() == nullptr || m_session->seat() == nullptr) {
        return;
    }
    m_keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(m_session->keyboardManager(), m_session->seat());
    uploadKeymap();
    if (!m_session->roundtrip()) {
        m_keyboard = nullptr;
    }
}

WaylandKeyInjector::~WaylandKeyInjector() {
    if (m_keyboard != nullptr) {
        finish();
        zwp_virtual_keyboard_v1_destroy(m_keyboard);
        m_session->roundtrip();
    }
}

void WaylandKeyInjector::uploadKeymap() {
    const std::string text = m_keymap.text();
    const int fd = memfd_create("quorvane-keymap", MFD_CLOEXEC);
    if (fd < 0) {
        return;
    }
    if (write(fd, text.c_str(), text.size() + 1) == static_cast<ssize_t>(text.size() + 1)) {
        zwp_virtual_keyboard_v1_keymap(m_keyboard, kKeymapFormatXkbV1, fd, static_cast<std::uint32_t>(text.size() + 1));
    }
    close(fd);
    // A new keymap starts with no modifiers in the compositor; ours still hold.
    sendModifiers();
    m_session->roundtrip();
    std::this_thread::sleep_for(kKeymapDigest);
}

std::size_t WaylandKeyInjector::inject(std::span<const KeyRecord> records) {
    if (m_keyboard == nullptr) {
        return 0;
    }
    m_checkedThisBlock = false;
    std::size_t inserted = 0;
    for (const auto &record : records) {
        if (!(record.unicode() ? injectUnicode(record) : injectKey(record))) {
            break;
        }
        ++inserted;
    }
    wl_display_flush(m_session->display());
    return inserted;
}

// The check refuses while another window is active, so the engine can hold or bring the terminal back. It comes
// after the pause, on an answer from the compositor; the first key-down of a block waits for a round trip, so the
// compositor has handled the previous block and neither its queue nor ours grows.
bool WaylandKeyInjector::admitKeyDown() {
    pace();
    if (m_checkedThisBlock) {
        m_session->dispatchPending();
    } else {
        m_session->roundtrip();
        m_checkedThisBlock = true;
    }
    if (!m_restriction) {
        return true;
    }
    const Toplevel *terminal = m_session->find(*m_restriction);
    if (terminal == nullptr || !terminal->activated) {
        return false;
    }
    pinFocus(*terminal);
    return true;
}

// Another program (a click, a focus command) can move the focus after the compositor answered and before it
// handles the key, and the key then lands in that window. The compositor reads what one write holds and handles
// all of it before it looks at any other client, so an activation sent in the same write as the key-down leaves
// nothing able to come between them. The flush empties the buffer first so that the two cannot be split.
void WaylandKeyInjector::pinFocus(const Toplevel &terminal) {
    wl_display_flush(m_session->display());
    zwlr_foreign_toplevel_handle_v1_activate(terminal.handle, m_session->seat());
}

void WaylandKeyInjector::pace() {
    const auto now = std::chrono::steady_clock::now();
    if (m_nextPress > now) {
        wl_display_flush(m_session->display());
        std::this_thread::sleep_until(m_nextPress);
    }
    m_nextPress = std::max(m_nextPress, now - kBurst) + kPressInterval;
}

void WaylandKeyInjector::key(std::uint32_t keycode, bool down) {
    const auto time = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_epoch);
    zwp_virtual_keyboard_v1_key(m_keyboard, static_cast<std::uint32_t>(time.count()), keycode - 8,
                                down ? kPressed : kReleased);
    if (down) {
        m_held.insert(keycode);
    } else {
        m_held.erase(keycode);
    }
}

// The compositor takes a virtual keyboard's modifiers from this request, not from its keys.
void WaylandKeyInjector::sendModifiers() {
    std::uint32_t depressed = 0;
    for (const auto &[vk, keycode] : m_downForVk) {
        depressed |= modifierMask(vk);
    }
    zwp_virtual_keyboard_v1_modifiers(m_keyboard, depressed, 0, m_lockedMods, 0);
}

bool WaylandKeyInjector::injectKey(const KeyRecord &record) {
    if (record.keyUp()) {
        // The key that went down for this code, whatever flags its key-up carries.
        const auto down = m_downForVk.find(record.vk);
        if (down == m_downForVk.end()) {
            return namedKeysym(record.vk, record.extended()) != XKB_KEY_NoSymbol;
        }
        const std::uint32_t keycode = down->second;
        m_downForVk.erase(down);
        key(keycode, false);
        if (modifierMask(record.vk) != 0) {
            sendModifiers();
        }
        return true;
    }
    const std::uint32_t keycode = namedKey(record.vk, record.extended());
    if (keycode == 0 || !admitKeyDown()) {
        return false;
    }
    key(keycode, true);
    m_downForVk[record.vk] = keycode;
    if (modifierMask(record.vk) != 0) {
        sendModifiers();
    } else if (record.vk == kVkCapsLock) {
        m_lockedMods ^= VirtualKeymap::kLockMask;
        sendModifiers();
    }
    return true;
}

// A Unicode press types its character at the key-down record; the key-up record completes it.
bool WaylandKeyInjector::injectUnicode(const KeyRecord &record) {
    if (record.keyUp()) {
        return true;
    }
    const std::optional<char32_t> ch = m_surrogates.take(record.scan);
    return !ch || typeCharacter(*ch);
}

bool WaylandKeyInjector::typeCharacter(char32_t ch) {
    if (ch < 32 || ch == 0x7F) {
        return pressCharacter(m_keymap.keycodeForKeysym(controlBase(ch)), true);
    }
    return pressCharacter(characterKey(ch), false);
}

std::uint32_t WaylandKeyInjector::namedKey(std::uint16_t vk, bool extended) {
    std::uint32_t keycode = m_keymap.keycodeForVk(vk, extended);
    if (keycode == 0 && namedKeysym(vk, extended) != XKB_KEY_NoSymbol) {
        m_keymap.recycle(m_held);
        keycode = m_keymap.keycodeForVk(vk, extended);
    }
    if (keycode != 0 && m_keymap.changed()) {
        uploadKeymap();
    }
    return keycode;
}

std::optional<std::uint32_t> WaylandKeyInjector::characterKey(char32_t ch) {
    const std::uint32_t keysym = xkb_utf32_to_keysym(ch);
    if (keysym == XKB_KEY_NoSymbol) {
        return std::nullopt;
    }
    auto keycode = m_keymap.keycodeForKeysym(keysym);
    if (!keycode) {
        m_keymap.recycle(m_held);
        keycode = m_keymap.keycodeForKeysym(keysym);
    }
    if (keycode && m_keymap.changed()) {
        // Each new keymap costs the compositor and the terminal milliseconds, and the characters of one script
        // come together: the rest of the character's block goes in with it while keys are plentiful.
        const char32_t first = ch & ~char32_t{kBlock - 1};
        for (char32_t other = first; other < first + kBlock && m_keymap.freeKeys() > kKeepFree; ++other) {
            if (other != ch && typeable(other)) {
                m_keymap.addIfFree(xkb_utf32_to_keysym(other));
            }
        }
        // The new keymap goes through the same stream as the keys, so the terminal has it before this key.
        uploadKeymap();
    }
    return keycode;
}

// One press and release of the character's own key, with Ctrl around it for a control character.
bool WaylandKeyInjector::pressCharacter(std::optional<std::uint32_t> keycode, bool control) {
    if (!keycode || !admitKeyDown()) {
        return false;
    }
    if (control) {
        std::uint32_t depressed = VirtualKeymap::kControlMask;
        for (const auto &[vk, code] : m_downForVk) {
            depressed |= modifierMask(vk);
        }
        zwp_virtual_keyboard_v1_modifiers(m_keyboard, depressed, 0, m_lockedMods, 0);
    }
    key(*keycode, true);
    key(*keycode, false);
    if (control) {
        sendModifiers();
    }
    return true;
}

void WaylandKeyInjector::finish() {
    if (m_keyboard == nullptr) {
        return;
    }
    while (!m_held.empty()) {
        key(*m_held.begin(), false);
    }
    m_downForVk.clear();
    m_surrogates = {};
    m_lockedMods = 0;
    sendModifiers();
    m_session->roundtrip();
}

} // namespace quorvane::platform::wayland
