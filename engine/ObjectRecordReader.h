// Reads 990 tagged object code as records: one per line, or fixed 80-character records where lines run longer.
#pragma once

#include "engine/LineReader.h"

#include <cstddef>
#include <string>

namespace quorvane::engine {

// Fixed-record disk files (DIS/FIX 80) hold their records back to back with no line ends.
inline constexpr std::size_t kObjectRecordLength = 80;

// Where a record stands in the file, for messages: a whole line, or a piece of a longer one.
struct RecordPlace {
    std::size_t line = 0;   // from 1
    std::size_t column = 1; // of the record's first character in its line, from 1
    std::size_t length = 0;
    bool wholeLine = true;
};

// "Line 3", or "The record at characters 81 to 160 of line 1".
std::string describePlace(const RecordPlace &place);

// A line of up to 80 characters is one record; a longer line, such as a whole file without line ends, is cut
// into records of 80 characters (the last may be shorter). The line ends of the file are those LineReader
// knows.
class ObjectRecordReader {
public:
    explicit ObjectRecordReader(LineReader &file) : m_file(file) {}

    // The next record into `record`; false once the file is done or reading failed.
    bool next(std::u32string &record);
    // True when no record follows the one read last.
    bool atEnd() const { return m_taken == m_line.size() && m_file.atEnd(); }
    bool failed() const { return m_file.failed(); }
    const RecordPlace &place() const { return m_place; }

private:
    LineReader &m_file;
    std::u32string m_line;
    std::size_t m_taken = 0; // characters of m_line already handed out
    RecordPlace m_place;
};

} // namespace quorvane::engine
