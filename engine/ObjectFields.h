// The fields of one record of 990 tagged object code, by the tag rules, with the record's checksum checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

enum class FieldKind {
    Skipped,                // 0 module header, 3 4 external references, 5 6 definitions, 8 checksum to ignore
    Entry,                  // 1 entry address
    RelocatableEntry,       // 2
    LoadAddress,            // 9
    RelocatableLoadAddress, // A
    Data,                   // B
    RelocatableData,        // C
    Checksum,               // 7: ends the record, the rest of it is not read
    RecordEnd,              // F: likewise, after a checksum to ignore
    ModuleEnd,              // :
};

struct ObjectField {
    char32_t tag = 0;
    FieldKind kind = FieldKind::Skipped;
    std::size_t column = 1; // of the tag, from 1
    std::u16string digits;  // the four hexadecimal digits in upper case, for the fields that carry them
};

enum class RecordProblem {
    None,
    UnrecognisedTag, // a character that is no tag at a field start
    NoRecordEnd,     // the record ends where a field should start
    BadDigits,       // a field whose four characters are not all hexadecimal digits
    BadChecksum,
};

struct ObjectRecord {
    std::vector<ObjectField> fields; // up to the problem, or through the field that ends the record
    RecordProblem problem = RecordProblem::None;
    std::size_t problemColumn = 0; // from 1
    char32_t problemTag = 0;
    std::uint16_t checksum = 0; // the one the record holds, and the one its characters need
    std::uint16_t expectedChecksum = 0;
};

// The fields that carry a value (1 2 7 9 A B C) must hold four hexadecimal digits; the others are passed over
// by their length, their contents unread.
ObjectRecord parseObjectRecord(std::u32string_view record);

} // namespace quorvane::engine
