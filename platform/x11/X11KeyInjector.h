// Key records to XTest key events: named and layout keys by keycode, other characters through bound keys.
#pragma once

#include "platform/KeyInjector.h"
#include "platform/SurrogatePairs.h"
#include "platform/x11/X11Keyboard.h"

#include <map>
#include <memory>
#include <optional>

namespace quorvane::platform::x11 {

class X11KeyInjector : public KeyInjector {
public:
    explicit X11KeyInjector(std::shared_ptr<X11Keyboard> keyboard);
    ~X11KeyInjector() override;

    std::size_t inject(std::span<const KeyRecord> records) override;
    InjectRefusal lastRefusal() const override { return m_refusal; }
    // Releases what is still held and restores the keymap.
    void finish() override;
    void restrictTo(std::optional<WindowId> window) override;
    // Releases the server grab that a run of strings holds.
    void pause() override;

private:
    bool admitKeyDown();
    bool refuseNoKey(char32_t ch);
    bool focusInRestriction();
    bool injectKey(const KeyRecord &record);
    bool injectUnicode(const KeyRecord &record);
    bool typeCharacter(char32_t ch);
    bool typeControlCharacter(char32_t ch);
    void tap(const TypingKey &key, bool control);
    void tapCapsLock();
    void fake(KeyCode keycode, bool down);
    bool held(std::uint16_t vk, std::uint16_t left, std::uint16_t right) const;
    void send(KeyCode keycode, bool down);
    void noteSent();

    std::shared_ptr<X11Keyboard> m_keyboard;
    std::optional<Window> m_restriction;        // the only window that key presses may reach
    std::map<KeyCode, std::uint16_t> m_pressed; // keycodes we hold down, with their virtual-key codes
    std::map<std::uint16_t, KeyCode> m_downForVk;
    SurrogatePairs m_surrogates;
    InjectRefusal m_refusal;
    void awaitLockChanges();
    bool capsLockNow() const;

    unsigned m_lockChangesBefore = 0;
    unsigned m_capsLockTaps = 0; // Caps Lock presses in this block, each of which toggles the lock once
    unsigned m_capsLockKeys = 0; // those of them that the records asked for
    std::size_t m_unnoted = 0;   // events sent and not yet accounted to the binder
};

} // namespace quorvane::platform::x11
