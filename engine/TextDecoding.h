// The two character sets a text file may be in: UTF-8, checked first over the whole file, else Windows-1252.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quorvane::engine {

// Checks a byte stream fed in pieces of any size for well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
class Utf8Validator {
public:
    void feed(std::span<const std::uint8_t> bytes);
    // True when everything fed so far is UTF-8 and no sequence is left open.
    bool valid() const { return !m_failed && m_pending == 0; }
    // The offset of the first byte that is not UTF-8: a byte that starts no sequence, or the lead byte of a
    // sequence that is broken or left open at the end of what was fed. Nothing while valid().
    std::optional<std::uint64_t> firstInvalidOffset() const;

private:
    bool m_failed = false;
    std::uint64_t m_offset = 0;     // bytes fed so far, or where the first invalid byte is once failed
    std::uint64_t m_leadOffset = 0; // of the sequence under way
    int m_pending = 0;              // continuation bytes still expected
    std::uint8_t m_low = 0x80;
    std::uint8_t m_high = 0xBF;
};

struct DecodedCharacter {
    char32_t ch = 0;
    std::size_t length = 0; // bytes consumed, at least 1 when any byte was given
};

// Decodes the character at the start of `bytes` (not empty). A malformed sequence yields its first byte
// read as Windows-1252, so a file that changed after it was checked still decodes.
DecodedCharacter decodeUtf8(std::span<const std::uint8_t> bytes);
char32_t windows1252ToUnicode(std::uint8_t byte);

// Appends the UTF-8 form of one character.
void appendUtf8(std::string &out, char32_t ch);

// C1 control characters (U+0080 to U+009F, where Windows-1252's five undefined bytes land too) have no key on
// any keyboard and terminals drop or mangle them as input: a transfer leaves them out and says so.
bool typeable(char32_t ch);

} // namespace quorvane::engine
