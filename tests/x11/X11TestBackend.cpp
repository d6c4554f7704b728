// The X11 backend opened on a test session's display, with the synthesiser that drives it.
#include "tests/x11/X11TestBackend.h"

#include <cstdlib>

namespace quorvane::test {

X11TestBackend X11TestBackend::open(XSession &session, std::string &error) {
    setenv("DISPLAY", session.displayName().c_str(), 1);
    X11TestBackend result;
    result.backend = platform::openDesktopBackend(error);
    if (result.backend.layout && result.backend.injector) {
        result.sendKeys =
            std::make_unique<keys::SendKeys_Replacement>(*result.backend.layout, *result.backend.injector);
    }
    return result;
}

std::u16string utf8ToUtf16(const std::string &text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t ch = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length && i + k < text.size(); ++k) {
            ch = (ch << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        i += length;
        if (ch >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((ch - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((ch - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(ch);
        }
    }
    return out;
}

void X11TestBackend::typeText(const std::string &text) {
    const std::u16string units = utf8ToUtf16(text);
    const std::u16string grammar = u"+^%~(){}";
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::u16string sequence;
        const char16_t unit = units[i];
        if (grammar.find(unit) != std::u16string::npos) {
            sequence = std::u16string(u"{") + unit + u"}";
        } else if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size()) {
            sequence = {unit, units[++i]};
        } else {
            sequence = {unit};
        }
        sendKeys->SendKeySequence(sequence);
    }
    backend.injector->finish();
}

} // namespace quorvane::test
