// UTF-8 text as the one-character key sequences that the text transfer sends, grammar characters braced.
#include "tools/x11driver/TextSequences.h"

namespace quorvane::tools {
namespace {

constexpr std::u16string_view kGrammar = u"+^%~(){}";

// Decodes one character at `i` and moves past it; malformed bytes come out as U+FFFD.
char32_t nextCharacter(std::string_view text, std::size_t &i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0) {
        return 0xFFFD;
    }
    char32_t ch = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        ch = (ch << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return ch;
}

} // namespace

std::vector<std::u16string> keySequencesForText(std::string_view utf8) {
    std::vector<std::u16string> sequences;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t ch = nextCharacter(utf8, i);
        if (ch >= 0x10000) {
            sequences.push_back({static_cast<char16_t>(0xD800 + ((ch - 0x10000) >> 10)),
                                 static_cast<char16_t>(0xDC00 + ((ch - 0x10000) & 0x3FF))});
        } else if (kGrammar.find(static_cast<char16_t>(ch)) != std::u16string_view::npos) {
            sequences.push_back(std::u16string(u"{") + static_cast<char16_t>(ch) + u"}");
        } else {
            sequences.push_back({static_cast<char16_t>(ch)});
        }
    }
    return sequences;
}

} // namespace quorvane::tools
