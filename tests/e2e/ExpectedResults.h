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

// How a case judges what arrived: the sample's own image, the image worked out from the object code (tags
// followed, or ignored from the open memory command's address), a binary's image, or the bytes of a text.
enum class Check { SampleImage, ObjectImage, ObjectImageIgnoringTags, BinaryImage, Text };

// What the board should hold (an image) or have received (bytes) after `file` in samples/, holding `content`,
// was sent; `startAddress` is that of the memory command already open, for the checks that need one.
std::string expectedResult(Check check, const std::string &file, const std::string &content,
                           std::optional<std::uint16_t> startAddress);

} // namespace quorvane::test
