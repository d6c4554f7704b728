// A US-English keyboard layout for tests, with a few AltGr characters and a settable Caps Lock.
#pragma once

#include "platform/KeyboardLayout.h"
#include "platform/VirtualKeys.h"

#include <cstddef>

namespace quorvane::platform {

class FakeKeyboardLayout : public KeyboardLayout {
public:
    // Characters this layout types only with AltGr (Ctrl+Alt), as a German or French layout would.
    static constexpr char32_t kAltGrCharacter = U'\u00E9';      // é: AltGr+E
    static constexpr char32_t kShiftAltGrCharacter = U'\u00A3'; // £: Shift+AltGr+3
    // A letter on a key outside A-Z that Caps Lock affects: ä, and Ä with Shift.
    static constexpr char32_t kCapsLetterSmall = U'\u00E4';
    static constexpr char32_t kCapsLetterCapital = U'\u00C4';
    static constexpr std::uint16_t kCapsLetterKey = kVkOem102;

    void refresh() override { ++m_refreshCount; }
    std::optional<KeyForCharacter> keyForCharacter(char32_t ch) override;
    std::uint16_t scanCode(std::uint16_t vk) override;
    bool capsLockOn() override { return m_capsLock; }

    void setCapsLock(bool on) { m_capsLock = on; }
    std::size_t refreshCount() const { return m_refreshCount; }

private:
    bool m_capsLock = false;
    std::size_t m_refreshCount = 0;
};

} // namespace quorvane::platform
