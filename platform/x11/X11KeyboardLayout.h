// The keyboard-layout look-ups on X11, answered from the live XKB keymap and the group active at refresh().
#pragma once

#include "platform/KeyboardLayout.h"
#include "platform/x11/X11Keyboard.h"

#include <memory>

namespace quorvane::platform::x11 {

class X11KeyboardLayout : public KeyboardLayout {
public:
    explicit X11KeyboardLayout(std::shared_ptr<X11Keyboard> keyboard) : m_keyboard(std::move(keyboard)) {}

    void refresh() override { m_keyboard->refresh(); }
    std::optional<KeyForCharacter> keyForCharacter(char32_t ch) override { return m_keyboard->keyForCharacter(ch); }
    // X has no scan codes apart from keycodes: the keycode stands in for it.
    std::uint16_t scanCode(std::uint16_t vk) override;
    bool capsLockOn() override { return m_keyboard->capsLockOn(); }

private:
    std::shared_ptr<X11Keyboard> m_keyboard;
};

} // namespace quorvane::platform::x11
