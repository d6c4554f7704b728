// The keyboard as the backend sees it: the live keymap and group, virtual-key codes for its keys, bindings.
#pragma once

#include "platform/KeyboardLayout.h"
#include "platform/x11/KeyBinder.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/X11Session.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace quorvane::platform::x11 {

// How to type one keysym now: the key, the Shift state it needs (nothing: either state does), and whether
// Caps Lock must be off for it (then the press goes between two Caps Lock taps).
struct TypingKey {
    KeyCode keycode = 0;
    std::optional<bool> shift;
    bool capsLockOff = false;
};

class X11Keyboard {
public:
    explicit X11Keyboard(std::shared_ptr<X11Session> session);

    X11Session &session() { return *m_session; }
    // Takes the layout and group that are active now; re-reads the keymap only when either has changed.
    void refresh();
    bool capsLockOn();

    std::optional<KeyForCharacter> keyForCharacter(char32_t ch);
    // The key a virtual-key code stands for, as assigned since the last refresh; 0 when none.
    KeyCode keycodeForVk(std::uint16_t vk, bool extended);
    // The key that types `keysym` on the active layout, or a spare key bound to it for the rest of the transfer,
    // with Caps Lock as given.
    std::optional<TypingKey> keyForKeysym(KeySym keysym, bool capsLock);
    // Ends a transfer: every temporary binding is undone.
    void restoreBindings() { m_binder.restore(); }
    std::size_t boundCount() const { return m_binder.boundCount(); }
    void noteEvents(std::size_t count) { m_binder.noteEvents(count); }
    // Runs before every wait for the terminal to catch up with the events sent.
    void setBeforeWait(std::function<void()> hook) { m_binder.setBeforeWait(std::move(hook)); }

private:
    void ensureLoaded();
    void reload();
    std::optional<KeyChoice> findOnLayout(KeySym keysym, bool capsLock);
    std::uint16_t virtualKeyFor(KeyCode keycode);

    std::shared_ptr<X11Session> m_session;
    std::unique_ptr<X11Keymap> m_keymap;
    KeyBinder m_binder;
    unsigned m_loadedGeneration = 0;
    int m_loadedGroup = -1;
    std::array<KeyCode, 256> m_keycodeForVk{};
    std::array<std::uint16_t, 256> m_vkForKeycode{};
    std::size_t m_nextAllocated = 0;
    std::map<std::pair<KeySym, bool>, std::optional<KeyChoice>> m_found;
};

// The keysym of a character, NoSymbol for one that has none (control characters, surrogates).
KeySym keysymForCharacter(char32_t ch);

} // namespace quorvane::platform::x11
