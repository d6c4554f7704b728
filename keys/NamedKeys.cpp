// The table of key names and the two look-ups into it.
#include "keys/NamedKeys.h"

#include "platform/VirtualKeys.h"

#include <algorithm>
#include <array>

namespace quorvane::keys {
namespace {

using namespace platform; // the virtual-key constants of the table

struct NamedKeyEntry {
    std::string_view name; // upper case
    NamedKey key;
};

// Sorted by name, so a look-up is a binary search over a table that costs nothing to build.
constexpr std::array<NamedKeyEntry, kNamedKeyCount> kNamedKeys{{
    {"BACKSPACE", {kVkBackspace, false}},
    {"BKSP", {kVkBackspace, false}},
    {"BREAK", {kVkPause, true}},
    {"BS", {kVkBackspace, false}},
    {"CAPSLOCK", {kVkCapsLock, false}},
    {"DEL", {kVkDelete, true}},
    {"DELETE", {kVkDelete, true}},
    {"DOWN", {kVkDown, true}},
    {"END", {kVkEnd, true}},
    {"ENTER", {kVkReturn, false}},
    {"ESC", {kVkEscape, false}},
    {"F1", {kVkF1, false}},
    {"F10", {kVkF1 + 9, false}},
    {"F11", {kVkF1 + 10, false}},
    {"F12", {kVkF1 + 11, false}},
    {"F13", {kVkF1 + 12, false}},
    {"F14", {kVkF1 + 13, false}},
    {"F15", {kVkF1 + 14, false}},
    {"F16", {kVkF1 + 15, false}},
    {"F2", {kVkF1 + 1, false}},
    {"F3", {kVkF1 + 2, false}},
    {"F4", {kVkF1 + 3, false}},
    {"F5", {kVkF1 + 4, false}},
    {"F6", {kVkF1 + 5, false}},
    {"F7", {kVkF1 + 6, false}},
    {"F8", {kVkF1 + 7, false}},
    {"F9", {kVkF1 + 8, false}},
    {"HELP", {kVkHelp, false}},
    {"HOME", {kVkHome, true}},
    {"INS", {kVkInsert, true}},
    {"INSERT", {kVkInsert, true}},
    {"LEFT", {kVkLeft, true}},
    {"NUMLOCK", {kVkNumLock, true}},
    {"PAUSE", {kVkPause, false}},
    {"PGDN", {kVkPageDown, true}},
    {"PGUP", {kVkPageUp, true}},
    {"PRINT", {kVkPrint, true}},
    {"PRINTSCREEN", {kVkPrintScreen, true}},
    {"PRINTSCRN", {kVkPrintScreen, true}},
    {"PRTSC", {kVkPrintScreen, true}},
    {"PRTSCN", {kVkPrintScreen, true}},
    {"RIGHT", {kVkRight, true}},
    {"SCROLLLOCK", {kVkScrollLock, false}},
    {"SELECT", {kVkSelect, false}},
    {"TAB", {kVkTab, false}},
    {"UP", {kVkUp, true}},
}};

static_assert(std::is_sorted(kNamedKeys.begin(), kNamedKeys.end(),
                             [](const NamedKeyEntry &a, const NamedKeyEntry &b) { return a.name < b.name; }));

// Longer than any name: such a text cannot match and is not folded.
constexpr std::size_t kLongestName = 11;

} // namespace

std::optional<NamedKey> findNamedKey(std::u16string_view name) {
    if (name.empty() || name.size() > kLongestName) {
        return std::nullopt;
    }
    std::array<char, kLongestName> folded{};
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        if (c >= u'a' && c <= u'z') {
            folded[i] = static_cast<char>(c - u'a' + 'A');
        } else if (c < 0x80) {
            folded[i] = static_cast<char>(c);
        } else {
            return std::nullopt;
        }
    }
    const std::string_view key(folded.data(), name.size());
    const auto it = std::lower_bound(kNamedKeys.begin(), kNamedKeys.end(), key,
                                     [](const NamedKeyEntry &entry, std::string_view k) { return entry.name < k; });
    if (it == kNamedKeys.end() || it->name != key) {
        return std::nullopt;
    }
    return it->key;
}

std::uint16_t LookupKeyCode(std::u16string_view name) {
    const auto key = findNamedKey(name);
    return key ? key->vk : 0;
}

bool IsExtendedKey(std::u16string_view name) {
    const auto key = findNamedKey(name);
    return key && key->extended;
}

} // namespace quorvane::keys
