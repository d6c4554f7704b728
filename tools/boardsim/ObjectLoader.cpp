// The tagged object loader: fields by tag, data words stored as they arrive, checksum checked per record.
#include "ObjectLoader.h"

#include "HexDigit.h"

#include <optional>

namespace quorvane::boardsim {

namespace {

// Assemblers write 80-column records; without line ends the next record starts at column 81.
constexpr std::size_t kRecordColumns = 80;

// Characters after the tag; nullopt for a character that is no tag.
std::optional<std::size_t> fieldLength(std::uint8_t tag) {
    switch (tag) {
    case '0':
        return 12;
    case '3':
    case '4':
    case '5':
    case '6':
        return 10;
    case '1':
    case '2':
    case '7':
    case '8':
    case '9':
    case 'A':
    case 'B':
    case 'C':
        return 4;
    case 'F':
    case ':':
        return 0;
    default:
        return std::nullopt;
    }
}

std::optional<std::uint16_t> parseHex4(const std::string &field) {
    std::uint16_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        auto digit = hexDigitValue(static_cast<std::uint8_t>(field[i]), false);
        if (!digit) {
            return std::nullopt;
        }
        value = shiftDigit(value, *digit);
    }
    return value;
}

} // namespace

ObjectLoader::ObjectLoader(MemoryImage &memory, std::uint16_t bias) : m_memory(memory), m_bias(bias) {}

void ObjectLoader::reset() {
    m_location = 0;
    startRecord();
}

void ObjectLoader::startRecord() {
    m_state = State::Tag;
    m_field.clear();
    m_column = 0;
    m_sum = 0;
}

ObjectLoader::Step ObjectLoader::handle(std::uint8_t byte) {
    if (byte == '\r' || byte == '\n') {
        // A line end inside a field cuts it short: the field is malformed, not silently dropped.
        State ended = m_state;
        startRecord();
        return ended == State::Field ? Step::BadTag : ended == State::ModuleEnd ? Step::End : Step::Continue;
    }
    if (m_state == State::Trailer || m_state == State::ModuleEnd) {
        if (++m_column < kRecordColumns) {
            return Step::Continue;
        }
        State ended = m_state;
        startRecord();
        return ended == State::ModuleEnd ? Step::End : Step::Continue;
    }
    ++m_column;
    m_sum = static_cast<std::uint16_t>(m_sum + byte);
    if (m_state == State::Tag) {
        return startField(byte);
    }
    m_field += static_cast<char>(byte);
    return m_field.size() == m_fieldLength ? finishField() : Step::Continue;
}

ObjectLoader::Step ObjectLoader::startField(std::uint8_t tag) {
    auto length = fieldLength(tag);
    if (!length) {
        return Step::BadTag;
    }
    // The ":" record ends the module; its text runs to the end of the line, and only then is the loader done.
    if (tag == ':' || tag == 'F') {
        m_state = tag == ':' ? State::ModuleEnd : State::Trailer;
        return Step::Continue;
    }
    if (tag == '7') {
        m_sumThroughSeven = m_sum;
    }
    m_tag = tag;
    m_fieldLength = *length;
    m_field.clear();
    m_state = State::Field;
    return Step::Continue;
}

ObjectLoader::Step ObjectLoader::finishField() {
    m_state = State::Tag;
    auto value = parseHex4(m_field);
    if (!value) {
        return Step::BadTag;
    }
    switch (m_tag) {
    case '7':
        return static_cast<std::uint16_t>(*value + m_sumThroughSeven) == 0 ? Step::Continue : Step::BadChecksum;
    case '9':
        m_location = *value;
        break;
    case 'A':
        m_location = static_cast<std::uint16_t>(*value + m_bias);
        break;
    case 'B':
    case 'C': {
        auto word = m_tag == 'C' ? static_cast<std::uint16_t>(*value + m_bias) : *value;
        m_memory.write(m_location, word);
        m_location = static_cast<std::uint16_t>(m_location + 2);
        break;
    }
    default:
        break;
    }
    return Step::Continue;
}

std::uint16_t recordChecksum(const std::string &textThroughSeven) {
    std::uint16_t sum = 0;
    for (char c : textThroughSeven) {
        sum = static_cast<std::uint16_t>(sum + static_cast<std::uint8_t>(c));
    }
    return static_cast<std::uint16_t>(-sum);
}

std::string closeRecord(const std::string &fields) {
    std::string record = fields + '7';
    return record + hex4(recordChecksum(record)) + 'F';
}

} // namespace quorvane::boardsim
