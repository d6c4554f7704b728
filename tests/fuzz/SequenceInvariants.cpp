// Checks that the records of one key sequence obey the rules every sequence must keep, whatever its text.
#include "SequenceInvariants.h"

#include "platform/VirtualKeys.h"

#include <algorithm>
#include <bitset>
#include <vector>

namespace quorvane::keys {
namespace {

using namespace platform;

// Virtual keys that are pressed with the extended flag; Pause is also Break, which has it.
constexpr std::uint16_t kExtendedKeys[] = {kVkPause,       kVkPageUp, kVkPageDown, kVkEnd,    kVkHome,
                                           kVkLeft,        kVkUp,     kVkRight,    kVkDown,   kVkPrint,
                                           kVkPrintScreen, kVkInsert, kVkDelete,   kVkNumLock};
// Keys that a key name, a modifier or "~" presses, whatever the layout.
constexpr std::uint16_t kNamedOrModifierKeys[] = {
    kVkBackspace, kVkTab,         kVkReturn, kVkShift,  kVkControl, kVkAlt,     kVkPause,     kVkCapsLock, kVkEscape,
    kVkPageUp,    kVkPageDown,    kVkEnd,    kVkHome,   kVkLeft,    kVkUp,      kVkRight,     kVkDown,     kVkSelect,
    kVkPrint,     kVkPrintScreen, kVkInsert, kVkDelete, kVkHelp,    kVkNumLock, kVkScrollLock};

bool listed(std::span<const std::uint16_t> list, std::uint16_t vk) {
    return std::find(list.begin(), list.end(), vk) != list.end();
}

// The keys a sequence may press: named keys, modifiers, function keys, and the layout's keys for its characters.
std::bitset<256> allowedKeys(std::u16string_view keys, platform::KeyboardLayout &layout) {
    std::bitset<256> allowed;
    for (std::uint16_t vk : kNamedOrModifierKeys) {
        allowed.set(vk);
    }
    for (std::uint16_t vk = kVkF1; vk < kVkF1 + 16; ++vk) {
        allowed.set(vk);
    }
    for (char16_t c : keys) {
        if (const auto key = layout.keyForCharacter(c)) {
            allowed.set(key->vk);
        }
    }
    return allowed;
}

std::string describe(const KeyRecord &record, std::size_t index) {
    return "record " + std::to_string(index) + " (vk " + std::to_string(record.vk) + ", scan " +
           std::to_string(record.scan) + ", flags " + std::to_string(record.flags) + ")";
}

std::string fieldFault(const KeyRecord &record, std::size_t index, std::u16string_view keys,
                       platform::KeyboardLayout &layout, const std::bitset<256> &allowed) {
    if ((record.flags & ~std::uint32_t{kExtendedKey | kKeyUp | kUnicode}) != 0) {
        return describe(record, index) + ": unknown flag";
    }
    if (record.unicode()) {
        if (record.vk != 0 || record.extended()) {
            return describe(record, index) + ": Unicode record with a key code or the extended flag";
        }
        if (keys.find(static_cast<char16_t>(record.scan)) == std::u16string_view::npos) {
            return describe(record, index) + ": Unicode record for a code unit not in the string";
        }
        return {};
    }
    if (record.vk == 0 || record.vk > 0xFF || !allowed.test(record.vk)) {
        return describe(record, index) + ": a key that nothing in the string presses";
    }
    if (record.scan != layout.scanCode(record.vk)) {
        return describe(record, index) + ": scan code is not the layout's";
    }
    if (record.extended() != listed(kExtendedKeys, record.vk) && record.vk != kVkPause) {
        return describe(record, index) + ": extended flag wrong for the key";
    }
    return {};
}

} // namespace

std::string findSequenceFault(std::span<const KeyRecord> records, std::u16string_view keys,
                              platform::KeyboardLayout &layout) {
    const std::bitset<256> allowed = allowedKeys(keys, layout);
    std::vector<std::size_t> pressed; // indices of key-downs not yet released, innermost last
    for (std::size_t i = 0; i < records.size(); ++i) {
        const KeyRecord &record = records[i];
        if (std::string fault = fieldFault(record, i, keys, layout, allowed); !fault.empty()) {
            return fault;
        }
        if (!record.keyUp()) {
            pressed.push_back(i);
            continue;
        }
        if (pressed.empty()) {
            return describe(record, i) + ": key-up without a key down";
        }
        const KeyRecord &down = records[pressed.back()];
        if (down.vk != record.vk || down.scan != record.scan || (down.flags | kKeyUp) != record.flags) {
            return describe(record, i) + ": releases another key than the innermost pressed one";
        }
        if (record.vk == kVkAlt && !record.unicode() && pressed.back() + 1 == i) {
            return describe(record, i) + ": lone Alt tap";
        }
        pressed.pop_back();
    }
    if (!pressed.empty()) {
        return describe(records[pressed.back()], pressed.back()) + ": never released";
    }
    return {};
}

} // namespace quorvane::keys
