// A loader for 990 tagged object code, fed one received character at a time.
#pragma once

#include "MemoryImage.h"

#include <cstdint>
#include <string>

namespace quorvane::boardsim {

class ObjectLoader {
public:
    enum class Step { Continue, End, BadTag, BadChecksum };

    // The bias is added to relocatable addresses and data (tags A and C).
    ObjectLoader(MemoryImage &memory, std::uint16_t bias);

    void reset();
    Step handle(std::uint8_t byte);

private:
    enum class State { Tag, Field, Trailer, ModuleEnd };

    Step startField(std::uint8_t tag);
    Step finishField();
    void startRecord();

    MemoryImage &m_memory;
    std::uint16_t m_bias;
    std::uint16_t m_location = 0;
    State m_state = State::Tag;
    std::uint8_t m_tag = 0;
    std::string m_field;
    std::size_t m_fieldLength = 0;
    std::size_t m_column = 0;
    std::uint16_t m_sum = 0;
    std::uint16_t m_sumThroughSeven = 0;
};

// The checksum field that closes a record whose characters, through the "7" tag, are the text given.
std::uint16_t recordChecksum(const std::string &textThroughSeven);
// Closes a record's fields with its checksum field and the "F" tag.
std::string closeRecord(const std::string &fields);

} // namespace quorvane::boardsim
