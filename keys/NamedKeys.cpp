// The table of key names and the two look-ups into it.
#include "keys/NamedKeys.h"

#include <algorithm>
#include <array>

namespace quorvane::keys {
namespace {

struct NamedKeyEntry {
    std::string_view name; // upper case
    NamedKey key;
};

// Sorted by name, so a look-up is a binary search over a table that costs nothing to build.
constexpr std::array<NamedKeyEntry, kNamedKeyCount> kNamedKeys{{
    {"BACKSPACE", {8, false}}, {"BKSP", {8, false}},        {"BREAK", {19, true}},        {"BS", {8, false}},
    {"CAPSLOCK", {20, false}}, {"DEL", {46, true}},         {"DELETE", {46, true}},       {"DOWN", {40, true}},
    {"END", {35, true}},       {"ENTER", {13, false}},      {"ESC", {27, false}},         {"F1", {112, false}},
    {"F10", {121, false}},     {"F11", {122, false}},       {"F12", {123, false}},        {"F13", {124, false}},
    {"F14", {125, false}},     {"F15", {126, false}},       {"F16", {127, false}},        {"F2", {113, false}},
    {"F3", {114, false}},      {"F4", {115, false}},        {"F5", {116, false}},         {"F6", {117, false}},
    {"F7", {118, false}},      {"F8", {119, false}},        {"F9", {120, false}},         {"HELP", {47, false}},
    {"HOME", {36, true}},      {"INS", {45, true}},         {"INSERT", {45, true}},       {"LEFT", {37, true}},
    {"NUMLOCK", {144, true}},  {"PAUSE", {19, false}},      {"PGDN", {34, true}},         {"PGUP", {33, true}},
    {"PRINT", {42, true}},     {"PRINTSCREEN", {44, true}}, {"PRINTSCRN", {44, true}},    {"PRTSC", {44, true}},
    {"PRTSCN", {44, true}},    {"RIGHT", {39, true}},       {"SCROLLLOCK", {145, false}}, {"SELECT", {41, false}},
    {"TAB", {9, false}},       {"UP", {38, true}},
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
