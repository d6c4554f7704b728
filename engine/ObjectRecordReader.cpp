// Cutting lines into object code records, and naming a record's place in the file.
#include "engine/ObjectRecordReader.h"

#include <algorithm>

namespace quorvane::engine {

std::string describePlace(const RecordPlace &place) {
    if (place.wholeLine) {
        return "Line " + std::to_string(place.line);
    }
    return "The record at characters " + std::to_string(place.column) + " to " +
           std::to_string(place.column + place.length - 1) + " of line " + std::to_string(place.line);
}

bool ObjectRecordReader::next(std::u32string &record) {
    if (m_taken == m_line.size()) {
        if (!m_file.readLine(m_line)) {
            m_line.clear();
            m_taken = 0;
            return false;
        }
        m_taken = 0;
        ++m_place.line;
    }
    const std::size_t length = std::min(kObjectRecordLength, m_line.size() - m_taken);
    record.assign(m_line, m_taken, length);
    m_place.column = m_taken + 1;
    m_place.length = length;
    m_place.wholeLine = m_line.size() <= kObjectRecordLength;
    m_taken += length;
    return true;
}

} // namespace quorvane::engine
