// The named-key table: every name with its code and extended flag, letter case, and the names that miss.
#include "keys/NamedKeys.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvane::keys {
namespace {

struct NameCase {
    std::u16string_view name;
    std::uint16_t code;
    bool extended;
};

const NameCase kNameCases[] = {
    {u"BACKSPACE", 8, false},
    {u"BS", 8, false},
    {u"BKSP", 8, false},
    {u"BREAK", 19, true},
    {u"CAPSLOCK", 20, false},
    {u"DELETE", 46, true},
    {u"DEL", 46, true},
    {u"DOWN", 40, true},
    {u"END", 35, true},
    {u"ENTER", 13, false},
    {u"ESC", 27, false},
    {u"HELP", 47, false},
    {u"HOME", 36, true},
    {u"INS", 45, true},
    {u"INSERT", 45, true},
    {u"LEFT", 37, true},
    {u"NUMLOCK", 144, true},
    {u"PGDN", 34, true},
    {u"PGUP", 33, true},
    {u"PAUSE", 19, false},
    {u"PRINT", 42, true},
    {u"PRTSC", 44, true},
    {u"PRTSCN", 44, true},
    {u"PRINTSCRN", 44, true},
    {u"PRINTSCREEN", 44, true},
    {u"RIGHT", 39, true},
    {u"SCROLLLOCK", 145, false},
    {u"SELECT", 41, false},
    {u"TAB", 9, false},
    {u"UP", 38, true},
    {u"F1", 112, false},
    {u"F2", 113, false},
    {u"F3", 114, false},
    {u"F4", 115, false},
    {u"F5", 116, false},
    {u"F6", 117, false},
    {u"F7", 118, false},
    {u"F8", 119, false},
    {u"F9", 120, false},
    {u"F10", 121, false},
    {u"F11", 122, false},
    {u"F12", 123, false},
    {u"F13", 124, false},
    {u"F14", 125, false},
    {u"F15", 126, false},
    {u"F16", 127, false},
    // letter case aside
    {u"pgdn", 34, true},
    {u"PgDn", 34, true},
    {u"enter", 13, false},
    {u"PrintScreen", 44, true},
    {u"f16", 127, false},
    {u"insert", 45, true},
    {u"prInt", 42, true},
    // not names
    {u"", 0, false},
    {u"F17", 0, false},
    {u"F0", 0, false},
    {u"ESCAPE", 0, false},
    {u"RETURN", 0, false},
    {u"SPACE", 0, false},
    {u"CLEAR", 0, false},
    {u"ENTER ", 0, false},
    {u" ENTER", 0, false},
    {u"ENTE", 0, false},
    {u"ENTERX", 0, false},
    {u"PRINTSCREENX", 0, false},
    {u"A", 0, false},
    {u"~", 0, false},
    // Only ASCII letters fold: the Turkish dotted capital I and dotless small i name no key.
    {u"PR\u0130NT", 0, false},
    {u"pr\u0131nt", 0, false},
    {u"\u0130NSERT", 0, false},
    {u"\uFF34AB", 0, false},
};

class NamedKeysTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NamedKeysTest, LooksUpCodeAndExtendedFlag) {
    const NameCase &c = GetParam();
    const std::string shown(c.name.begin(), c.name.end());
    EXPECT_EQ(LookupKeyCode(c.name), c.code) << shown;
    EXPECT_EQ(IsExtendedKey(c.name), c.extended) << shown;
    EXPECT_EQ(findNamedKey(c.name).has_value(), c.code != 0) << shown;
}

INSTANTIATE_TEST_SUITE_P(Names, NamedKeysTest, ::testing::ValuesIn(kNameCases));

} // namespace
} // namespace quorvane::keys
