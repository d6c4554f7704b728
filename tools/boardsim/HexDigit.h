// Reading one hexadecimal digit as the monitors do.
#pragma once

#include <cstdint>
#include <optional>

namespace quorvane::boardsim {

// The original ROMs take upper-case digits only; revised monitors also take lower case.
inline std::optional<std::uint16_t> hexDigitValue(std::uint8_t byte, bool acceptLowerCase) {
    if (byte >= '0' && byte <= '9') {
        return static_cast<std::uint16_t>(byte - '0');
    }
    if (byte >= 'A' && byte <= 'F') {
        return static_cast<std::uint16_t>(byte - 'A' + 10);
    }
    if (acceptLowerCase && byte >= 'a' && byte <= 'f') {
        return static_cast<std::uint16_t>(byte - 'a' + 10);
    }
    return std::nullopt;
}

// Shifts a digit into a field that keeps only its last four digits.
inline std::uint16_t shiftDigit(std::uint16_t field, std::uint16_t digit) {
    return static_cast<std::uint16_t>((field << 4) | digit);
}

} // namespace quorvane::boardsim
