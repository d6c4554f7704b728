// The keyboard-layout look-ups on Win32, made with the layout of the foreground window's thread.
#pragma once

#include "platform/KeyboardLayout.h"

#include <windows.h>

#include <string>

namespace quorvane::platform::win32 {

class Win32KeyboardLayout : public KeyboardLayout {
public:
    Win32KeyboardLayout();

    // The terminal reads the keys with its own thread's layout, which can differ from ours.
    void refresh() override;
    std::optional<KeyForCharacter> keyForCharacter(char32_t ch) override;
    std::uint16_t scanCode(std::uint16_t vk) override;
    bool capsLockOn() override;

    HKL layout() const { return m_layout; }

private:
    // The characters the key yields with these modifier bits (VkKeyScan's high byte); -1 for a dead key.
    int charactersFor(std::uint8_t vk, std::uint8_t modifiers, bool capsLock, std::wstring &out);
    bool isDeadKey(std::uint8_t vk, std::uint8_t modifiers);
    bool capsLockAffects(std::uint8_t vk, std::uint8_t modifiers);

    HKL m_layout;
};

} // namespace quorvane::platform::win32
