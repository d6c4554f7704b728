// Records of 990 tagged object code for tests, closed with the checksum that the board's loader checks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace quorvane::engine::test {

// The fields, then "7", the two's complement of the sum of the character codes through that "7", and "F".
inline std::string closedRecord(std::string_view fields) {
    std::string record = std::string(fields) + '7';
    std::uint16_t sum = 0;
    for (const char ch : record) {
        sum = static_cast<std::uint16_t>(sum + static_cast<unsigned char>(ch));
    }
    char checksum[8];
    std::snprintf(checksum, sizeof checksum, "%04X", static_cast<unsigned>(static_cast<std::uint16_t>(-sum)));
    return record + checksum + "F";
}

} // namespace quorvane::engine::test
