// UTF-8 text as the one-character key sequences that the text transfer sends, grammar characters braced.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::tools {

// One sequence per character; a character outside the Basic Multilingual Plane is one sequence of two units.
std::vector<std::u16string> keySequencesForText(std::string_view utf8);

} // namespace quorvane::tools
