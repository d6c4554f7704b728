// The key names that braced items may use, with their virtual-key codes and extended flags.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvane::keys {

struct NamedKey {
    std::uint16_t vk = 0;
    bool extended = false;
};

inline constexpr std::size_t kNamedKeyCount = 46;

// The key called `name`, letter case aside (ASCII letters only, so no locale changes the match).
std::optional<NamedKey> findNamedKey(std::u16string_view name);

// The key's code, or 0 when `name` is not a key name.
std::uint16_t LookupKeyCode(std::u16string_view name);
bool IsExtendedKey(std::u16string_view name);

} // namespace quorvane::keys
