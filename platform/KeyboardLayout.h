// The keyboard-layout look-ups that keystroke synthesis makes: which key types a character, scan codes, Caps Lock.
#pragma once

#include <cstdint>
#include <optional>

namespace quorvane::platform {

// How one character is typed on the active layout.
struct KeyForCharacter {
    std::uint8_t vk = 0; // virtual-key code; letters and digits keep 'A'..'Z' and '0'..'9' on every layout
    bool shift = false;
    bool ctrl = false;
    bool alt = false;             // Ctrl together with Alt is AltGr
    bool capsLockAffects = false; // Caps Lock inverts Shift for this key on this layout
};

class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // Called at the start of every key sequence: takes the layout that is active now.
    virtual void refresh() = 0;
    // The key that types `ch`, or nothing when no key of the active layout types it directly
    // (dead keys and keys of other layout groups count as none).
    virtual std::optional<KeyForCharacter> keyForCharacter(char32_t ch) = 0;
    // Hardware scan code of a virtual key; 0 when the layout has no such key.
    virtual std::uint16_t scanCode(std::uint16_t vk) = 0;
    virtual bool capsLockOn() = 0;
};

} // namespace quorvane::platform
