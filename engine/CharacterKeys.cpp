// Maps one character of a loader or text file to the key-sequence string that types exactly that character.
#include "engine/CharacterKeys.h"

#include "engine/TextDecoding.h"

#include <cstdint>
#include <span>

namespace quorvane::engine {

namespace {

constexpr std::u16string_view kGrammarCharacters = u"+^%~(){}";

// Ctrl+letter gives codes 1 to 26 in every terminal; the four after Escape come from Ctrl with the
// punctuation that follows "Z" in ASCII. "^" itself has to be braced after the Ctrl modifier.
std::u16string controlKeys(char32_t ch) {
    switch (ch) {
    case 0x00:
        return u"^@";
    case 0x09:
        return u"{TAB}";
    case 0x1B:
        return u"{ESC}";
    case 0x1C:
        return u"^\\";
    case 0x1D:
        return u"^]";
    case 0x1E:
        return u"^{^}";
    case 0x1F:
        return u"^_";
    default:
        return std::u16string{u'^', static_cast<char16_t>(u'a' + (ch - 1))};
    }
}

} // namespace

std::u16string keySequenceFor(char32_t ch) {
    if (ch < 0x20) {
        return controlKeys(ch);
    }
    if (ch >= 0x10000) {
        const char32_t offset = ch - 0x10000;
        return std::u16string{static_cast<char16_t>(0xD800 + (offset >> 10)),
                              static_cast<char16_t>(0xDC00 + (offset & 0x3FF))};
    }
    const auto unit = static_cast<char16_t>(ch);
    if (kGrammarCharacters.find(unit) != std::u16string_view::npos) {
        return std::u16string{u'{', unit, u'}'};
    }
    return std::u16string(1, unit);
}

std::vector<std::u16string> keySequencesForUtf8(std::string_view utf8) {
    const std::span bytes(reinterpret_cast<const std::uint8_t *>(utf8.data()), utf8.size());
    std::vector<std::u16string> sequences;
    for (std::size_t i = 0; i < bytes.size();) {
        const DecodedCharacter decoded = decodeUtf8(bytes.subspan(i));
        sequences.push_back(keySequenceFor(decoded.ch));
        i += decoded.length;
    }
    return sequences;
}

} // namespace quorvane::engine
