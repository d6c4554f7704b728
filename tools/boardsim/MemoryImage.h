// The board's memory as the simulator sees it: words read and written, and the image file text.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace quorvane::boardsim {

class MemoryImage {
public:
    // Unwritten memory reads as zero; the address is forced even as the 990's word access does.
    std::uint16_t read(std::uint16_t address) const;
    void write(std::uint16_t address, std::uint16_t value);

    // Every written word, one "ADDR=WORD" line each (hex upper case, four digits), sorted by address.
    std::string toText() const;

private:
    std::map<std::uint16_t, std::uint16_t> m_words;
};

// Four upper-case hex digits.
std::string hex4(std::uint16_t value);

} // namespace quorvane::boardsim
