// UTF-8 checking and decoding, and the Windows-1252 table for files that are not UTF-8.
#include "engine/TextDecoding.h"

#include <array>
#include <cstring>

namespace quorvane::engine {

namespace {

// Unicode for 0x80..0x9F; the five codes Windows-1252 leaves undefined keep their C1 value.
constexpr std::array<char16_t, 32> kHighControls = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct LeadByte {
    int continuations = -1; // -1: not a lead byte
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    char32_t bits = 0;
};

// The range allowed for the first continuation byte excludes overlong forms, surrogates and values
// beyond U+10FFFF (RFC 3629, table 3-7 of the Unicode standard).
LeadByte classify(std::uint8_t b) {
    if (b < 0x80) {
        return {0, 0x80, 0xBF, b};
    }
    if (b >= 0xC2 && b <= 0xDF) {
        return {1, 0x80, 0xBF, static_cast<char32_t>(b & 0x1F)};
    }
    if (b >= 0xE0 && b <= 0xEF) {
        const std::uint8_t low = b == 0xE0 ? 0xA0 : 0x80;
        const std::uint8_t high = b == 0xED ? 0x9F : 0xBF;
        return {2, low, high, static_cast<char32_t>(b & 0x0F)};
    }
    if (b >= 0xF0 && b <= 0xF4) {
        const std::uint8_t low = b == 0xF0 ? 0x90 : 0x80;
        const std::uint8_t high = b == 0xF4 ? 0x8F : 0xBF;
        return {3, low, high, static_cast<char32_t>(b & 0x07)};
    }
    return {};
}

} // namespace

// Plain ASCII, the common case, is skipped eight bytes at a time.
void Utf8Validator::feed(std::span<const std::uint8_t> bytes) {
    std::size_t i = 0;
    while (i < bytes.size() && !m_failed) {
        if (m_pending == 0 && bytes.size() - i >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes.data() + i, 8);
            if ((word & 0x8080808080808080u) == 0) {
                i += 8;
                m_offset += 8;
                continue;
            }
        }
        const std::uint8_t b = bytes[i];
        if (m_pending > 0) {
            if (b < m_low || b > m_high) {
                // The sequence's lead byte is where the text stopped being UTF-8.
                m_offset = m_leadOffset;
                m_failed = true;
                return;
            }
            --m_pending;
            m_low = 0x80;
            m_high = 0xBF;
        } else {
            const LeadByte lead = classify(b);
            if (lead.continuations < 0) {
                m_failed = true;
                return;
            }
            m_leadOffset = m_offset;
            m_pending = lead.continuations;
            m_low = lead.low;
            m_high = lead.high;
        }
        ++i;
        ++m_offset;
    }
}

std::optional<std::uint64_t> Utf8Validator::firstInvalidOffset() const {
    if (m_failed) {
        return m_offset;
    }
    if (m_pending > 0) {
        return m_leadOffset;
    }
    return std::nullopt;
}

DecodedCharacter decodeUtf8(std::span<const std::uint8_t> bytes) {
    const LeadByte lead = classify(bytes[0]);
    if (lead.continuations < 0 || bytes.size() <= static_cast<std::size_t>(lead.continuations)) {
        return {windows1252ToUnicode(bytes[0]), 1};
    }
    char32_t ch = lead.bits;
    for (int i = 1; i <= lead.continuations; ++i) {
        const std::uint8_t b = bytes[static_cast<std::size_t>(i)];
        const bool inRange = i == 1 ? (b >= lead.low && b <= lead.high) : (b >= 0x80 && b <= 0xBF);
        if (!inRange) {
            return {windows1252ToUnicode(bytes[0]), 1};
        }
        ch = (ch << 6) | (b & 0x3F);
    }
    return {ch, static_cast<std::size_t>(lead.continuations) + 1};
}

bool typeable(char32_t ch) { return ch < 0x80 || ch > 0x9F; }

char32_t windows1252ToUnicode(std::uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

void appendUtf8(std::string &out, char32_t ch) {
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

} // namespace quorvane::engine
