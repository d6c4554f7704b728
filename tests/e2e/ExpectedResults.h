// What the board should hold or have received after a transfer, worked out from the file that was sent.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace quorvane::test {

using Memory = std::map<std::uint16_t, std::uint16_t>;

// The board's image format: "ADDR=WORD" lines, upper-case hex, sorted by address, LF after each.
std::string imageText(const Memory &memory);

// The words that typing tagged object code into the memory command stores: at each "9" address (or, when
// `startAddress` is given, one after the other from there, the address tags ignored).
Memory objectCodeMemory(const std::string &objectCode, std::optional<std::uint16_t> startAddress);

// A binary image typed word by word from `startAddress`, high byte first; an odd last byte pads with 00.
Memory binaryMemory(const std::string &bytes, std::uint16_t startAddress);

// The bytes a terminal sends for a text file typed line by line: CR between lines, none after the last.
std::string typedText(const std::string &fileContent);

} // namespace quorvane::test
