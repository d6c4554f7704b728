// Key-sequence strings and the records they become on the US layout, with Caps Lock off and on.
#include "SequenceInvariants.h"
#include "keys/SendKeys_Replacement.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "platform/fake/RecordingInjector.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvane::keys {
namespace {

enum class Caps { Off, On };

struct SequenceCase {
    std::u16string_view keys;
    Caps caps;
    const char *expected; // inserted records, as the recording injector prints them
};

std::ostream &operator<<(std::ostream &out, const SequenceCase &c) {
    for (char16_t unit : c.keys) {
        out << (unit >= 0x20 && unit < 0x7F ? static_cast<char>(unit) : '?');
    }
    return out << (c.caps == Caps::On ? " (Caps Lock on)" : "");
}

const SequenceCase kGrammarCases[] = {
    {u"", Caps::Off, ""},
    {u"a", Caps::Off, "65↓ 65↑"},
    {u"A", Caps::Off, "16↓ 65↓ 65↑ 16↑"},
    {u"A", Caps::On, "65↓ 65↑"},
    {u"a", Caps::On, "16↓ 65↓ 65↑ 16↑"},
    {u"+a", Caps::Off, "16↓ 65↓ 65↑ 16↑"},
    {u"+A", Caps::Off, "16↓ 65↓ 65↑ 16↑"},
    {u"^A", Caps::Off, "17↓ 16↓ 65↓ 65↑ 16↑ 17↑"},
    {u"+^a", Caps::Off, "16↓ 17↓ 65↓ 65↑ 17↑ 16↑"},
    {u"%(ab)", Caps::Off, "18↓ 65↓ 65↑ 66↓ 66↑ 18↑"},
    {u"(a+b)", Caps::Off, "65↓ 65↑ 16↓ 187↓ 187↑ 16↑ 66↓ 66↑"},
    {u"(a~)", Caps::Off, "65↓ 65↑ 13↓ 13↑"},
    {u"(^{)", Caps::Off, "16↓ 54↓ 54↑ 16↑ 16↓ 219↓ 219↑ 16↑"},
    {u"~", Caps::Off, "13↓ 13↑"},
    {u"{ENTER}", Caps::Off, "13↓ 13↑"},
    {u"{enter}", Caps::Off, "13↓ 13↑"},
    {u"{TAB 3}", Caps::Off, "9↓ 9↑ 9↓ 9↑ 9↓ 9↑"},
    {u"{TAB 2 5}", Caps::Off, "9↓ 9↑ 9↓ 9↑"},
    {u"{TAB  3}", Caps::Off, "9↓ 9↑"},
    {u"{TAB &H2}", Caps::Off, "9↓ 9↑ 9↓ 9↑"},
    {u"{DOWN}", Caps::Off, "40↓ext 40↑ext"},
    {u"{DOWN 2}", Caps::Off, "40↓ext 40↑ext 40↓ext 40↑ext"},
    {u"{DOWN 0}", Caps::Off, "40↓ext 40↑ext"},
    {u"{DOWN -3}", Caps::Off, "40↓ext 40↑ext"},
    {u"{DOWN x}", Caps::Off, "40↓ext 40↑ext"},
    {u"{DOWN 2.5}", Caps::Off, "40↓ext 40↑ext 40↓ext 40↑ext"},
    {u"{DOWN 3.5}", Caps::Off, "40↓ext 40↑ext 40↓ext 40↑ext 40↓ext 40↑ext 40↓ext 40↑ext"},
    {u"{PAUSE}{BREAK}", Caps::Off, "19↓ 19↑ 19↓ext 19↑ext"},
    {u"+{TAB}", Caps::Off, "16↓ 9↓ 9↑ 16↑"},
    {u"^{DOWN 2}", Caps::Off, "17↓ 40↓ext 40↑ext 40↓ext 40↑ext 17↑"},
    {u"++a", Caps::Off, "16↓ 16↓ 65↓ 65↑ 16↑ 16↑"},
    {u"+{", Caps::Off, "16↓ 16↑"},
    {u"{a 3}", Caps::Off, "65↓ 65↑ 65↓ 65↑ 65↓ 65↑"},
    {u"{+}", Caps::Off, "16↓ 187↓ 187↑ 16↑"},
    {u"{^}{%}{~}", Caps::Off, "16↓ 54↓ 54↑ 16↑ 16↓ 53↓ 53↑ 16↑ 16↓ 192↓ 192↑ 16↑"},
    {u"{(}{)}", Caps::Off, "16↓ 57↓ 57↑ 16↑ 16↓ 48↓ 48↑ 16↑"},
    {u"{}}", Caps::Off, "16↓ 221↓ 221↑ 16↑"},
    {u"{{}", Caps::Off, "16↓ 219↓ 219↑ 16↑"},
    {u"{XYZ}", Caps::Off, "16↓ 88↓ 88↑ 16↑"},
    {u"{ 2}", Caps::Off, "32↓ 32↑ 32↓ 32↑"},
    {u"{ESCAPE}", Caps::Off, "16↓ 69↓ 69↑ 16↑"},
    {u"{", Caps::Off, ""},
    {u"{}", Caps::Off, "16↓ 221↓ 221↑ 16↑"},
    {u"{abc", Caps::Off, "65↓ 65↑ 66↓ 66↑ 67↓ 67↑"},
    {u"(", Caps::Off, ""},
    {u"()", Caps::Off, "16↓ 48↓ 48↑ 16↑"},
    {u")", Caps::Off, "16↓ 48↓ 48↑ 16↑"},
    {u"}", Caps::Off, "16↓ 221↓ 221↑ 16↑"},
    {u"\u20AC", Caps::Off, "U+20AC↓ U+20AC↑"},
    {u"\u00FF", Caps::Off, "U+00FF↓ U+00FF↑"},
    {u"{CAPSLOCK}a", Caps::Off, "20↓ 20↑ 65↓ 65↑"},
    {u"\r", Caps::Off, "13↓ 13↑"},
    {u"\t", Caps::Off, "9↓ 9↑"},
    {u"1!", Caps::On, "49↓ 49↑ 16↓ 49↓ 49↑ 16↑"},
    {u"+a", Caps::On, "16↓ 65↓ 65↑ 16↑"},
    {u"IM 0100\r", Caps::Off, "16↓ 73↓ 73↑ 16↑ 16↓ 77↓ 77↑ 16↑ 32↓ 32↑ 48↓ 48↑ 49↓ 49↑ 48↓ 48↑ 48↓ 48↑ 13↓ 13↑"},
};

// Behaviours that differ from a literal reading of the grammar, because that reading loses keys or types
// the wrong character.
const SequenceCase kMendedCases[] = {
    // a bare modifier at the end is ignored
    {u"+", Caps::Off, ""},
    {u"a+", Caps::Off, "65↓ 65↑"},
    {u"a^%", Caps::Off, "65↓ 65↑"},
    {u"b+^", Caps::Off, "66↓ 66↑"},
    // no lone Alt tap
    {u"%", Caps::Off, ""},
    {u"%(", Caps::Off, ""},
    {u"%{", Caps::Off, ""},
    {u"%%(a", Caps::Off, "65↓ 65↑"},
    {u"%%a", Caps::Off, "18↓ 18↓ 65↓ 65↑ 18↑ 18↑"},
    {u"%+{", Caps::Off, "18↓ 16↓ 16↑ 18↑"},
    {u"^{", Caps::Off, "17↓ 17↑"},
    // Caps Lock: only the keys it affects, and not under Ctrl or Alt
    {u"^c", Caps::On, "17↓ 67↓ 67↑ 17↑"},
    {u"%c", Caps::On, "18↓ 67↓ 67↑ 18↑"},
    {u"^C", Caps::On, "17↓ 16↓ 67↓ 67↑ 16↑ 17↑"},
    {u"+^c", Caps::On, "16↓ 17↓ 67↓ 67↑ 17↑ 16↑"},
    {u"^(ab)", Caps::On, "17↓ 65↓ 65↑ 66↓ 66↑ 17↑"},
    {u"\u00E4", Caps::Off, "226↓ 226↑"},
    {u"\u00E4", Caps::On, "16↓ 226↓ 226↑ 16↑"},
    {u"\u00C4", Caps::On, "226↓ 226↑"},
    // braced characters go through the same routine as bare ones
    {u"{A}", Caps::On, "65↓ 65↑"},
    {u"{a}", Caps::On, "16↓ 65↓ 65↑ 16↑"},
    {u"{A}", Caps::Off, "16↓ 65↓ 65↑ 16↑"},
    {u"{\u00E4 2}", Caps::On, "16↓ 226↓ 226↑ 16↑ 16↓ 226↓ 226↑ 16↑"},
    {u"{\u00FF}", Caps::Off, "U+00FF↓ U+00FF↑"},
    {u"{\u20AC 2}", Caps::Off, "U+20AC↓ U+20AC↑ U+20AC↓ U+20AC↑"},
    // a surrogate pair in braces is one character
    {u"{\U0001F600 2}", Caps::Off, "U+D83D↓ U+D83D↑ U+DE00↓ U+DE00↑ U+D83D↓ U+D83D↑ U+DE00↓ U+DE00↑"},
    {u"\U0001F600", Caps::Off, "U+D83D↓ U+D83D↑ U+DE00↓ U+DE00↑"},
    // AltGr characters are typed as Unicode, not as their key alone
    {u"\u00E9", Caps::Off, "U+00E9↓ U+00E9↑"},
    {u"\u00A3", Caps::Off, "U+00A3↓ U+00A3↑"},
    {u"{\u00E9}", Caps::Off, "U+00E9↓ U+00E9↑"},
    {u"^\u00E9", Caps::Off, "17↓ U+00E9↓ U+00E9↑ 17↑"},
    {u"\x01", Caps::Off, "U+0001↓ U+0001↑"},
    // the line feed stays the Enter key although the layout reports Ctrl+Enter
    {u"\n", Caps::Off, "13↓ 13↑"},
    {u"{\n}", Caps::Off, "13↓ 13↑"},
    // names fold ASCII letters only
    {u"{pr\u0131nt}", Caps::Off, "80↓ 80↑"},
    {u"{\u0130NSERT}", Caps::Off, "U+0130↓ U+0130↑"},
};

class SendKeySequenceTest : public ::testing::TestWithParam<SequenceCase> {
protected:
    platform::FakeKeyboardLayout m_layout;
    platform::RecordingInjector m_injector;
    SendKeys_Replacement m_keys{m_layout, m_injector};
};

TEST_P(SendKeySequenceTest, InjectsTheRecordsOfTheString) {
    const SequenceCase &c = GetParam();
    m_layout.setCapsLock(c.caps == Caps::On);
    m_keys.SendKeySequence(c.keys);
    EXPECT_EQ(m_injector.transcript(), c.expected);
    EXPECT_EQ(m_injector.batches().size(), std::string_view(c.expected).empty() ? 0U : 1U);
    EXPECT_FALSE(m_keys.ShiftHeld());
    EXPECT_EQ(findSequenceFault(m_injector.records(), c.keys, m_layout), "");
}

INSTANTIATE_TEST_SUITE_P(Grammar, SendKeySequenceTest, ::testing::ValuesIn(kGrammarCases));
INSTANTIATE_TEST_SUITE_P(Mended, SendKeySequenceTest, ::testing::ValuesIn(kMendedCases));

// Scan codes and the extended flag on every record of a press, modifiers included.
const SequenceCase kScanCodeCases[] = {
    {u"A", Caps::Off, "16↓[2A] 65↓[1E] 65↑[1E] 16↑[2A]"},
    {u"{DOWN}", Caps::Off, "40↓ext[50] 40↑ext[50]"},
    {u"^%{DEL}", Caps::Off, "17↓[1D] 18↓[38] 46↓ext[53] 46↑ext[53] 18↑[38] 17↑[1D]"},
    {u"{HOME}{END}{PGUP}{PGDN}", Caps::Off,
     "36↓ext[47] 36↑ext[47] 35↓ext[4F] 35↑ext[4F] 33↓ext[49] 33↑ext[49] 34↓ext[51] 34↑ext[51]"},
    {u"~{ENTER}\r", Caps::Off, "13↓[1C] 13↑[1C] 13↓[1C] 13↑[1C] 13↓[1C] 13↑[1C]"},
    {u"{F1}{F12}{F16}", Caps::Off, "112↓[3B] 112↑[3B] 123↓[58] 123↑[58] 127↓[67] 127↑[67]"},
    {u"{ESC}{BS}", Caps::Off, "27↓[01] 27↑[01] 8↓[0E] 8↑[0E]"},
    {u"{HELP}", Caps::Off, "47↓[00] 47↑[00]"},
    {u"\u20AC", Caps::Off, "U+20AC↓ U+20AC↑"},
};

class ScanCodeTest : public SendKeySequenceTest {};

TEST_P(ScanCodeTest, EveryRecordOfAPressCarriesScanCodeAndExtendedFlag) {
    m_keys.SendKeySequence(GetParam().keys);
    EXPECT_EQ(m_injector.transcript(true), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, ScanCodeTest, ::testing::ValuesIn(kScanCodeCases));

// A layout that claims a key for "q" but gives it no key code.
class LayoutWithoutKeyCode : public platform::FakeKeyboardLayout {
public:
    std::optional<platform::KeyForCharacter> keyForCharacter(char32_t ch) override {
        return ch == U'q' ? std::optional(platform::KeyForCharacter{}) : FakeKeyboardLayout::keyForCharacter(ch);
    }
};

TEST(UnicodeRecords, StandInForAKeyWithoutCode) {
    LayoutWithoutKeyCode layout;
    platform::RecordingInjector injector;
    SendKeys_Replacement keys(layout, injector);
    keys.SendKeySequence(u"q{q}a");
    EXPECT_EQ(injector.transcript(), "U+0071↓ U+0071↑ U+0071↓ U+0071↑ 65↓ 65↑");
}

TEST(UnicodeRecords, HoldTheCodeUnitWithoutKeyCode) {
    platform::FakeKeyboardLayout layout;
    platform::RecordingInjector injector;
    SendKeys_Replacement keys(layout, injector);
    keys.SendKeySequence(u"\u20AC");
    const std::vector<KeyRecord> expected{{0, 0x20AC, kUnicode}, {0, 0x20AC, kUnicode | kKeyUp}};
    EXPECT_EQ(injector.records(), expected);
}

} // namespace
} // namespace quorvane::keys
