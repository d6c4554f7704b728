// Checks that the records of one key sequence obey the rules every sequence must keep, whatever its text.
#include "SequenceInvariants.h"

#include "platform/VirtualKeys.h"

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

std::bitset<256> keySet(std::span<const std::uint16_t> keys) {
    std::bitset<256> set;
    for (std::uint16_t vk : keys) {
        set.set(vk);
    }
    return set;
}

const std::bitset<256> kExtended = keySet(kExtendedKeys);
const std::bitset<256> kAlwaysAllowed = [] {
    std::bitset<256> set = keySet(kNamedOrModifierKeys);
    for (std::uint16_t vk = kVkF1; vk < kVkF1 + 16; ++vk) {
        set.set(vk);
    }
    return set;
}();

std::string describe(const KeyRecord &record, std::size_t index) {
    return "record " + std::to_string(index) + " (vk " + std::to_string(record.vk) + ", scan " +
           std::to_string(record.scan) + ", flags " + std::to_string(record.flags) + ")";
}

} // namespace

void SequenceChecker::begin(std::u16string_view keys, KeyboardLayout &layout) {
    m_allowedKeys = kAlwaysAllowed;
    m_codeUnits.reset();
    for (char16_t c : keys) {
        m_codeUnits.set(c);
        if (const auto key = layout.keyForCharacter(c)) {
            m_allowedKeys.set(key->vk);
        }
    }
    for (std::uint16_t vk = 1; vk < 256; ++vk) {
        if (m_allowedKeys[vk]) {
            m_scanCodes[vk] = layout.scanCode(vk);
        }
    }
    m_pressed.clear();
    m_index = 0;
    m_fault.clear();
}

// The rule a record's fields break, or nothing.
const char *SequenceChecker::fieldFault(const KeyRecord &record) const {
    if ((record.flags & ~std::uint32_t{kExtendedKey | kKeyUp | kUnicode}) != 0) {
        return "unknown flag";
    }
    if (record.unicode()) {
        if (record.vk != 0 || record.extended()) {
            return "Unicode record with a key code or the extended flag";
        }
        return m_codeUnits[record.scan] ? nullptr : "Unicode record for a code unit not in the string";
    }
    if (record.vk == 0 || record.vk > 0xFF || !m_allowedKeys[record.vk]) {
        return "a key that nothing in the string presses";
    }
    if (record.scan != m_scanCodes[record.vk]) {
        return "scan code is not the layout's";
    }
    if (record.extended() != kExtended[record.vk] && record.vk != kVkPause) {
        return "extended flag wrong for the key";
    }
    return nullptr;
}

void SequenceChecker::check(std::span<const KeyRecord> records) {
    for (const KeyRecord &record : records) {
        if (!m_fault.empty()) {
            return;
        }
        const std::size_t index = m_index++;
        if (const char *fault = fieldFault(record)) {
            m_fault = describe(record, index) + ": " + fault;
        } else if (!record.keyUp()) {
            m_pressed.emplace_back(record, index);
        } else if (m_pressed.empty()) {
            m_fault = describe(record, index) + ": key-up without a key down";
        } else {
            const auto &[down, downIndex] = m_pressed.back();
            if (down.vk != record.vk || down.scan != record.scan || (down.flags | kKeyUp) != record.flags) {
                m_fault = describe(record, index) + ": releases another key than the innermost pressed one";
            } else if (record.vk == kVkAlt && !record.unicode() && downIndex + 1 == index) {
                m_fault = describe(record, index) + ": lone Alt tap";
            }
            m_pressed.pop_back();
        }
    }
}

std::string SequenceChecker::finish() {
    if (m_fault.empty() && !m_pressed.empty()) {
        m_fault = describe(m_pressed.back().first, m_pressed.back().second) + ": never released";
    }
    return m_fault;
}

std::string findSequenceFault(std::span<const KeyRecord> records, std::u16string_view keys, KeyboardLayout &layout) {
    SequenceChecker checker;
    checker.begin(keys, layout);
    checker.check(records);
    return checker.finish();
}

} // namespace quorvane::keys
