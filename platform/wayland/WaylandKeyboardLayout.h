// The keyboard-layout look-ups on Wayland: Quorvane's own keymap types every character by itself.
#pragma once

#include "platform/KeyboardLayout.h"

namespace quorvane::platform::wayland {

// No character is answered with a layout key: each goes out as a Unicode record, which the injector types with a
// key of its own, so neither the user's layout nor Shift or Caps Lock can change it.
class WaylandKeyboardLayout : public KeyboardLayout {
public:
    void refresh() override {}
    // The line feed alone is a key, as on Windows (Ctrl+Enter; typed as Enter): a terminal gets a carriage return.
    std::optional<KeyForCharacter> keyForCharacter(char32_t ch) override {
        return ch == U'\n' ? std::optional(KeyForCharacter{kVkReturn, false, true}) : std::nullopt;
    }
    // The virtual keyboard has no scan codes; its keys are found by virtual-key code, which stands in.
    std::uint16_t scanCode(std::uint16_t vk) override { return vk; }
    bool capsLockOn() override { return false; }

private:
    static constexpr std::uint8_t kVkReturn = 13;
};

} // namespace quorvane::platform::wayland
