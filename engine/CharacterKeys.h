// The key-sequence string that types one character of a file as itself.
#pragma once

#include <string>

namespace quorvane::engine {

// Grammar characters come back braced, control characters as the Ctrl chord (or named key) that produces
// them, characters beyond the Basic Multilingual Plane as their two UTF-16 units.
std::u16string keySequenceFor(char32_t ch);

} // namespace quorvane::engine
