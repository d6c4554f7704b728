// Turns keys and characters into the records that press them on the active keyboard layout.
#pragma once

#include "keys/EventBuffer.h"
#include "platform/KeyboardLayout.h"

#include <cstdint>
#include <optional>

namespace quorvane::keys {

// What the modifiers of the enclosing items hold down while a character is typed.
struct HeldModifiers {
    bool shift = false;     // a "+" holds Shift: no automatic Shift records
    bool ctrlOrAlt = false; // a "^" or "%" is held: Caps Lock does not change Shift
};

class EventBuilder {
public:
    EventBuilder(platform::KeyboardLayout &layout, EventBuffer &buffer) : m_layout(layout), m_buffer(buffer) {}

    // Starts a sequence: takes the active layout; Caps Lock is read when a character first needs it.
    void begin();

    // A record of the key with its scan code; the extended flag, when given, goes on the key-up as well.
    platform::KeyRecord keyRecord(std::uint16_t vk, bool keyUp, bool extended = false);
    void addKeyRecord(std::uint16_t vk, bool keyUp, bool extended = false) {
        m_buffer.append(keyRecord(vk, keyUp, extended));
    }
    // One press of a key, with automatic Shift around it when `shift` and Shift is not held already.
    void addKeyPress(std::uint16_t vk, bool shift, bool extended, HeldModifiers held);
    void addUnicodeCharacter(char16_t unit);
    // The records that type one literal character. A bare "~" is the Enter key; a braced one is a tilde.
    void typeCharacter(char16_t ch, bool bare, HeldModifiers held);

private:
    std::optional<platform::KeyForCharacter> typeableKey(char16_t ch);
    bool capsLockOn();

    platform::KeyboardLayout &m_layout;
    EventBuffer &m_buffer;
    std::optional<bool> m_capsLock;
};

} // namespace quorvane::keys
