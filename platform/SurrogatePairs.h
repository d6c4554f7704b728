#pragma once

#include <cstdint>
#include <optional>

namespace quorvane::platform {

// Unicode key records carry UTF-16 code units; a character beyond the BMP comes as two records.
class SurrogatePairs {
public:
    // The character a code unit completes; nothing while a high half waits for its low half, and nothing for a
    // low half without its high half (no character: it is consumed without typing anything).
    std::optional<char32_t> take(char32_t unit) {
        const char32_t high = m_high;
        m_high = 0;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            m_high = unit;
            return std::nullopt;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (high == 0) {
                return std::nullopt;
            }
            return 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00);
        }
        return unit;
    }

private:
    char32_t m_high = 0;
};

} // namespace quorvane::platform
