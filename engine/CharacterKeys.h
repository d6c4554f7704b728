// The key-sequence string that types one character of a file as itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

// Grammar characters come back braced, control characters as the Ctrl chord (or named key) that produces
// them, characters beyond the Basic Multilingual Plane as their two UTF-16 units.
std::u16string keySequenceFor(char32_t ch);

// The strings that type UTF-8 text one character at a time, each from keySequenceFor; a byte that does not
// start a well-formed sequence is read as Windows-1252. For the tools and tests that type text the way the text
// transfer types a line.
std::vector<std::u16string> keySequencesForUtf8(std::string_view utf8);

} // namespace quorvane::engine
