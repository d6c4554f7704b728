// Turns keys and characters into the records that press them on the active keyboard layout.
#include "keys/EventBuilder.h"

#include "platform/VirtualKeys.h"

namespace quorvane::keys {
namespace {

constexpr char16_t kLineFeed = 10;
constexpr char16_t kFirstUnicodeOnly = 256;

} // namespace

void EventBuilder::begin() {
    m_layout.refresh();
    m_capsLock.reset();
}

bool EventBuilder::capsLockOn() {
    if (!m_capsLock) {
        m_capsLock = m_layout.capsLockOn();
    }
    return *m_capsLock;
}

// Both records of a press carry the scan code and the extended flag: a key-up without them is the
// key-up of another key (the Down arrow's becomes keypad 2's) for programs that read scan codes.
platform::KeyRecord EventBuilder::keyRecord(std::uint16_t vk, bool keyUp, bool extended) {
    std::uint32_t flags = extended ? std::uint32_t{platform::kExtendedKey} : 0U;
    if (keyUp) {
        flags |= platform::kKeyUp;
    }
    return platform::KeyRecord{vk, m_layout.scanCode(vk), flags};
}

void EventBuilder::addKeyPress(std::uint16_t vk, bool shift, bool extended, HeldModifiers held) {
    const bool autoShift = shift && !held.shift;
    if (autoShift) {
        addKeyRecord(platform::kVkShift, false);
    }
    const std::uint16_t scan = m_layout.scanCode(vk);
    const std::uint32_t extendedFlag = extended ? std::uint32_t{platform::kExtendedKey} : 0U;
    m_buffer.append(platform::KeyRecord{vk, scan, extendedFlag});
    m_buffer.append(platform::KeyRecord{vk, scan, extendedFlag | platform::kKeyUp});
    if (autoShift) {
        addKeyRecord(platform::kVkShift, true);
    }
}

void EventBuilder::addUnicodeCharacter(char16_t unit) {
    m_buffer.append(platform::KeyRecord{0, unit, platform::kUnicode});
    m_buffer.append(platform::KeyRecord{0, unit, platform::kUnicode | platform::kKeyUp});
}

// The key that types `ch` by itself (Shift aside). A key that needs Ctrl or Alt (AltGr) would type a
// different character without them ("q" for "@" on a German layout), so such characters have none.
std::optional<platform::KeyForCharacter> EventBuilder::typeableKey(char16_t ch) {
    auto key = m_layout.keyForCharacter(ch);
    if (!key) {
        return std::nullopt;
    }
    // Windows reports the line feed as Ctrl+Enter; it is typed as the Enter key.
    if (ch == kLineFeed) {
        key->ctrl = false;
    }
    // A record with key code 0 presses no key at all.
    if (key->ctrl || key->alt || key->vk == 0) {
        return std::nullopt;
    }
    return key;
}

void EventBuilder::typeCharacter(char16_t ch, bool bare, HeldModifiers held) {
    if (ch >= kFirstUnicodeOnly) {
        addUnicodeCharacter(ch);
        return;
    }
    if (bare && ch == u'~') {
        addKeyPress(platform::kVkReturn, false, false, held);
        return;
    }
    const auto key = typeableKey(ch);
    if (!key) {
        addUnicodeCharacter(ch);
        return;
    }
    bool shift = key->shift;
    // With Ctrl or Alt held the key is a shortcut: "^c" stays Ctrl+C whatever Caps Lock says.
    if (key->capsLockAffects && !held.ctrlOrAlt && capsLockOn()) {
        shift = !shift;
    }
    addKeyPress(key->vk, shift, false, held);
}

} // namespace quorvane::keys
