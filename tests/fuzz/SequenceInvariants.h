// Checks that the records of one key sequence obey the rules every sequence must keep, whatever its text.
#pragma once

#include "platform/KeyRecord.h"
#include "platform/KeyboardLayout.h"

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvane::keys {

// The rules: fields only as they allow, presses strictly nested and all released, no lone Alt tap, and Unicode
// records only for code units that occur in the string. Records are checked as they arrive, batch after batch,
// so that nothing of a long sequence has to be kept; the checker is meant to be reused from string to string.
class SequenceChecker {
public:
    // A new string: which keys and code units its records may carry follows from its text and the layout.
    void begin(std::u16string_view keys, platform::KeyboardLayout &layout);
    // The next records that the injector took, in order.
    void check(std::span<const platform::KeyRecord> records);
    // The first broken rule since begin(), or an empty string.
    std::string finish();

private:
    const char *fieldFault(const platform::KeyRecord &record) const;

    std::bitset<256> m_allowedKeys;
    std::array<std::uint16_t, 256> m_scanCodes{}; // the layout's, for the allowed keys
    std::bitset<0x10000> m_codeUnits;
    std::vector<std::pair<platform::KeyRecord, std::size_t>> m_pressed; // key-downs not yet released, innermost last
    std::size_t m_index = 0;
    std::string m_fault;
};

// The same over records already collected.
std::string findSequenceFault(std::span<const platform::KeyRecord> records, std::u16string_view keys,
                              platform::KeyboardLayout &layout);

} // namespace quorvane::keys
