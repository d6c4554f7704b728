// The keymap Quorvane gives its virtual keyboard: the modifiers, the named keys and one key per character typed.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quorvane::platform::wayland {

// Every character has a key of its own that types it with no modifier at all, so nothing depends on the user's
// layout or on Shift. The ASCII letters also answer Shift and Caps Lock, as the keys of a US keyboard do, for
// chords such as "+a"; every other character is typed as itself whatever is held, as Unicode input is elsewhere.
class VirtualKeymap {
public:
    VirtualKeymap();

    // The XKB keycode of a named key (Windows virtual-key code); a new key when it has none yet. 0 when the code
    // names no key or every key is taken.
    std::uint32_t keycodeForVk(std::uint16_t vk, bool extended);
    // The key that types `keysym`; a new one when there is none yet. Nothing when every key is taken.
    std::optional<std::uint32_t> keycodeForKeysym(std::uint32_t keysym);
    // A key for `keysym` only if one is free, never recycling.
    bool addIfFree(std::uint32_t keysym) { return add(keysym) != 0; }
    std::size_t freeKeys() const;
    // Frees the least recently used half of the keys outside the modifiers, the commonest named keys and printable
    // ASCII, except those in `held`.
    void recycle(const std::set<std::uint32_t> &held);
    // True when keys were added or freed since the last text().
    bool changed() const { return m_changed; }
    // The whole keymap in the XKB text format.
    std::string text();

    // Modifier masks in the numbering of this keymap (the real modifiers come first in every XKB keymap).
    static constexpr std::uint32_t kShiftMask = 1U << 0;
    static constexpr std::uint32_t kLockMask = 1U << 1;
    static constexpr std::uint32_t kControlMask = 1U << 2;
    static constexpr std::uint32_t kAltMask = 1U << 3;

    // Keycodes stay within the X range, so that a terminal under XWayland understands them as well.
    static constexpr std::uint32_t kFirstKeycode = 9;
    static constexpr std::uint32_t kLastKeycode = 255;

private:
    std::uint32_t add(std::uint32_t keysym);

    std::vector<std::uint32_t> m_keysyms; // by keycode - kFirstKeycode; 0 = free
    std::vector<std::uint64_t> m_lastUse; // by keycode - kFirstKeycode
    std::uint64_t m_uses = 0;
    std::size_t m_fixedKeys = 0; // modifiers, the commonest named keys and ASCII: never recycled
    bool m_changed = true;
};

} // namespace quorvane::platform::wayland
