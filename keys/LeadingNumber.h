// The numeric read of repeat counts and factor texts: the number at the start of a text, blanks ignored.
#pragma once

#include <string_view>

namespace quorvane::keys {

// Reads the number that `text` starts with: blanks (space, tab, line feed) are skipped anywhere, then an
// optional sign, digits with at most one ".", an optional exponent (E or e, optional sign, digits); or
// &H / &O followed by a hexadecimal / octal whole number. Stops at the first character that cannot continue
// the number and gives 0 when there is none. Too large a value gives an infinity, never undefined behaviour.
double leadingNumber(std::string_view utf8);
double leadingNumber(std::u16string_view text);

} // namespace quorvane::keys
