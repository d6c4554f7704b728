// The numeric read of repeat counts and factor texts.
#include "keys/LeadingNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace quorvane::keys {
namespace {

// Exponents beyond this already overflow or underflow any double; clamping keeps the text short.
constexpr long kExponentLimit = 100000;

// Walks a text one character at a time, stepping over blanks wherever they stand.
template <typename Char> class BlankSkippingCursor {
public:
    explicit BlankSkippingCursor(std::basic_string_view<Char> text) : m_text(text) {}

    // The next character that is not a blank, as a code (0 at the end).
    char32_t peek() {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos])) {
            ++m_pos;
        }
        return m_pos < m_text.size() ? static_cast<char32_t>(m_text[m_pos]) : 0;
    }
    void advance() { ++m_pos; }
    std::size_t position() {
        peek();
        return m_pos;
    }
    void rewind(std::size_t pos) { m_pos = pos; }

private:
    static bool isBlank(Char c) { return c == ' ' || c == '\t' || c == '\n'; }

    std::basic_string_view<Char> m_text;
    std::size_t m_pos = 0;
};

int digitValue(char32_t c, int base) {
    int value = base;
    if (c >= '0' && c <= '9') {
        value = static_cast<int>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
        value = static_cast<int>(c - 'a') + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = static_cast<int>(c - 'A') + 10;
    }
    return value < base ? value : -1;
}

template <typename Char> double readWholeNumber(BlankSkippingCursor<Char> &cursor, int base) {
    double value = 0;
    for (int digit = digitValue(cursor.peek(), base); digit >= 0; digit = digitValue(cursor.peek(), base)) {
        value = value * base + digit;
        cursor.advance();
    }
    return value;
}

// The exponent after an "E"; an "E" without digits is not part of the number and is left unread.
template <typename Char> long readExponent(BlankSkippingCursor<Char> &cursor) {
    const std::size_t start = cursor.position();
    cursor.advance();
    bool negative = false;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        negative = cursor.peek() == '-';
        cursor.advance();
    }
    if (digitValue(cursor.peek(), 10) < 0) {
        cursor.rewind(start);
        return 0;
    }
    long exponent = 0;
    for (int digit = digitValue(cursor.peek(), 10); digit >= 0; digit = digitValue(cursor.peek(), 10)) {
        exponent = std::min(exponent * 10 + digit, kExponentLimit);
        cursor.advance();
    }
    return negative ? -exponent : exponent;
}

// Decimal magnitude of the mantissa: how many places its first significant digit stands left of the point.
long mantissaMagnitude(const std::string &digits, std::size_t pointAt) {
    const std::size_t first = digits.find_first_not_of("0.");
    if (first == std::string::npos) {
        return std::numeric_limits<long>::min();
    }
    return first < pointAt ? static_cast<long>(pointAt - first) : -static_cast<long>(first - pointAt - 1);
}

template <typename Char> double readDecimal(BlankSkippingCursor<Char> &cursor) {
    std::string digits;
    std::size_t pointAt = std::string::npos;
    for (char32_t c = cursor.peek();; c = cursor.peek()) {
        if (c >= '0' && c <= '9') {
            digits.push_back(static_cast<char>(c));
        } else if (c == '.' && pointAt == std::string::npos) {
            pointAt = digits.size();
        } else {
            break;
        }
        cursor.advance();
    }
    if (pointAt == std::string::npos) {
        pointAt = digits.size();
    } else {
        digits.insert(pointAt, 1, '.');
    }
    if (digits.find_first_of("0123456789") == std::string::npos) {
        return 0;
    }
    long exponent = 0;
    if (cursor.peek() == 'E' || cursor.peek() == 'e') {
        exponent = readExponent(cursor);
    }
    const std::string text = digits + "e" + std::to_string(exponent);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        const long magnitude = mantissaMagnitude(digits, pointAt);
        value = magnitude != std::numeric_limits<long>::min() && magnitude + exponent > 0
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
    }
    return value;
}

template <typename Char> double readLeadingNumber(std::basic_string_view<Char> text) {
    BlankSkippingCursor<Char> cursor(text);
    if (cursor.peek() == '&') {
        cursor.advance();
        const char32_t radix = cursor.peek();
        if (radix == 'H' || radix == 'h' || radix == 'O' || radix == 'o') {
            cursor.advance();
            return readWholeNumber(cursor, radix == 'H' || radix == 'h' ? 16 : 8);
        }
        return 0;
    }
    bool negative = false;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        negative = cursor.peek() == '-';
        cursor.advance();
    }
    const double value = readDecimal(cursor);
    return negative ? -value : value;
}

} // namespace

double leadingNumber(std::string_view utf8) { return readLeadingNumber(utf8); }

double leadingNumber(std::u16string_view text) { return readLeadingNumber(text); }

} // namespace quorvane::keys
