// One synthesised keyboard event, independent of any operating system's input structure.
#pragma once

#include <cstdint>

namespace quorvane::platform {

enum KeyFlag : std::uint32_t {
    kExtendedKey = 1, // the key is one of the extended set (arrows, Insert, Delete, ...)
    kKeyUp = 2,
    kUnicode = 4, // `scan` holds a UTF-16 code unit and `vk` is 0
};

struct KeyRecord {
    std::uint16_t vk = 0;    // Windows virtual-key code (platform/VirtualKeys.h); 0 for a Unicode record
    std::uint16_t scan = 0;  // scan code of the key, or the UTF-16 code unit of a Unicode record
    std::uint32_t flags = 0; // KeyFlag bits

    bool keyUp() const { return (flags & kKeyUp) != 0; }
    bool unicode() const { return (flags & kUnicode) != 0; }
    bool extended() const { return (flags & kExtendedKey) != 0; }
    friend bool operator==(const KeyRecord &, const KeyRecord &) = default;
};

} // namespace quorvane::platform
