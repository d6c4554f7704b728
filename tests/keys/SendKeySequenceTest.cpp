// Key-sequence strings and the records they become on the US layout, with Caps Lock off and on.
#include "SequenceInvariants.h"
#include "keys/KeySequenceTyper.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "platform/fake/RecordingInjector.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvane::keys {
namespace {

using platform::KeyRecord;
using platform::kKeyUp;
using platform::kUnicode;

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
    {u"a", Caps::Off, "A↓ A↑"},
    {u"A", Caps::Off, "Shift↓ A↓ A↑ Shift↑"},
    {u"A", Caps::On, "A↓ A↑"},
    {u"a", Caps::On, "Shift↓ A↓ A↑ Shift↑"},
    {u"+a", Caps::Off, "Shift↓ A↓ A↑ Shift↑"},
    {u"+A", Caps::Off, "Shift↓ A↓ A↑ Shift↑"},
    {u"^A", Caps::Off, "Ctrl↓ Shift↓ A↓ A↑ Shift↑ Ctrl↑"},
    {u"+^a", Caps::Off, "Shift↓ Ctrl↓ A↓ A↑ Ctrl↑ Shift↑"},
    {u"%(ab)", Caps::Off, "Alt↓ A↓ A↑ B↓ B↑ Alt↑"},
    {u"(a+b)", Caps::Off, "A↓ A↑ Shift↓ OemPlus↓ OemPlus↑ Shift↑ B↓ B↑"},
    {u"(a~)", Caps::Off, "A↓ A↑ Enter↓ Enter↑"},
    {u"(^{)", Caps::Off, "Shift↓ 6↓ 6↑ Shift↑ Shift↓ Oem4↓ Oem4↑ Shift↑"},
    {u"~", Caps::Off, "Enter↓ Enter↑"},
    {u"{ENTER}", Caps::Off, "Enter↓ Enter↑"},
    {u"{enter}", Caps::Off, "Enter↓ Enter↑"},
    {u"{TAB 3}", Caps::Off, "Tab↓ Tab↑ Tab↓ Tab↑ Tab↓ Tab↑"},
    {u"{TAB 2 5}", Caps::Off, "Tab↓ Tab↑ Tab↓ Tab↑"},
    {u"{TAB  3}", Caps::Off, "Tab↓ Tab↑"},
    {u"{TAB &H2}", Caps::Off, "Tab↓ Tab↑ Tab↓ Tab↑"},
    {u"{DOWN}", Caps::Off, "Down↓ext Down↑ext"},
    {u"{DOWN 2}", Caps::Off, "Down↓ext Down↑ext Down↓ext Down↑ext"},
    {u"{DOWN 0}", Caps::Off, "Down↓ext Down↑ext"},
    {u"{DOWN -3}", Caps::Off, "Down↓ext Down↑ext"},
    {u"{DOWN x}", Caps::Off, "Down↓ext Down↑ext"},
    {u"{DOWN 2.5}", Caps::Off, "Down↓ext Down↑ext Down↓ext Down↑ext"},
    {u"{DOWN 3.5}", Caps::Off, "Down↓ext Down↑ext Down↓ext Down↑ext Down↓ext Down↑ext Down↓ext Down↑ext"},
    {u"{PAUSE}{BREAK}", Caps::Off, "Pause↓ Pause↑ Pause↓ext Pause↑ext"},
    {u"+{TAB}", Caps::Off, "Shift↓ Tab↓ Tab↑ Shift↑"},
    {u"^{DOWN 2}", Caps::Off, "Ctrl↓ Down↓ext Down↑ext Down↓ext Down↑ext Ctrl↑"},
    {u"++a", Caps::Off, "Shift↓ Shift↓ A↓ A↑ Shift↑ Shift↑"},
    {u"+{", Caps::Off, "Shift↓ Shift↑"},
    {u"{a 3}", Caps::Off, "A↓ A↑ A↓ A↑ A↓ A↑"},
    {u"{+}", Caps::Off, "Shift↓ OemPlus↓ OemPlus↑ Shift↑"},
    {u"{^}{%}{~}", Caps::Off, "Shift↓ 6↓ 6↑ Shift↑ Shift↓ 5↓ 5↑ Shift↑ Shift↓ Oem3↓ Oem3↑ Shift↑"},
    {u"{(}{)}", Caps::Off, "Shift↓ 9↓ 9↑ Shift↑ Shift↓ 0↓ 0↑ Shift↑"},
    {u"{}}", Caps::Off, "Shift↓ Oem6↓ Oem6↑ Shift↑"},
    {u"{{}", Caps::Off, "Shift↓ Oem4↓ Oem4↑ Shift↑"},
    {u"{XYZ}", Caps::Off, "Shift↓ X↓ X↑ Shift↑"},
    {u"{ 2}", Caps::Off, "Space↓ Space↑ Space↓ Space↑"},
    {u"{ESCAPE}", Caps::Off, "Shift↓ E↓ E↑ Shift↑"},
    {u"{", Caps::Off, ""},
    {u"{}", Caps::Off, "Shift↓ Oem6↓ Oem6↑ Shift↑"},
    {u"{abc", Caps::Off, "A↓ A↑ B↓ B↑ C↓ C↑"},
    {u"(", Caps::Off, ""},
    {u"()", Caps::Off, "Shift↓ 0↓ 0↑ Shift↑"},
    {u")", Caps::Off, "Shift↓ 0↓ 0↑ Shift↑"},
    {u"}", Caps::Off, "Shift↓ Oem6↓ Oem6↑ Shift↑"},
    {u"\u20AC", Caps::Off, "U+20AC↓ U+20AC↑"},
    {u"\u00FF", Caps::Off, "U+00FF↓ U+00FF↑"},
    {u"{CAPSLOCK}a", Caps::Off, "CapsLock↓ CapsLock↑ A↓ A↑"},
    {u"\r", Caps::Off, "Enter↓ Enter↑"},
    {u"\t", Caps::Off, "Tab↓ Tab↑"},
    {u"1!", Caps::On, "1↓ 1↑ Shift↓ 1↓ 1↑ Shift↑"},
    {u"+a", Caps::On, "Shift↓ A↓ A↑ Shift↑"},
    {u"IM 0100\r", Caps::Off,
     "Shift↓ I↓ I↑ Shift↑ Shift↓ M↓ M↑ Shift↑ Space↓ Space↑ 0↓ 0↑ 1↓ 1↑ 0↓ 0↑ 0↓ 0↑ Enter↓ Enter↑"},
};

// Behaviours that differ from a literal reading of the grammar, because that reading loses keys or types
// the wrong character.
const SequenceCase kMendedCases[] = {
    // a bare modifier at the end is ignored
    {u"+", Caps::Off, ""},
    {u"a+", Caps::Off, "A↓ A↑"},
    {u"a^%", Caps::Off, "A↓ A↑"},
    {u"b+^", Caps::Off, "B↓ B↑"},
    // no lone Alt tap
    {u"%", Caps::Off, ""},
    {u"%(", Caps::Off, ""},
    {u"%{", Caps::Off, ""},
    {u"%%(a", Caps::Off, "A↓ A↑"},
    {u"%%a", Caps::Off, "Alt↓ Alt↓ A↓ A↑ Alt↑ Alt↑"},
    {u"%+{", Caps::Off, "Alt↓ Shift↓ Shift↑ Alt↑"},
    {u"^{", Caps::Off, "Ctrl↓ Ctrl↑"},
    // Caps Lock: only the keys it affects, and not under Ctrl or Alt
    {u"^c", Caps::On, "Ctrl↓ C↓ C↑ Ctrl↑"},
    {u"%c", Caps::On, "Alt↓ C↓ C↑ Alt↑"},
    {u"^C", Caps::On, "Ctrl↓ Shift↓ C↓ C↑ Shift↑ Ctrl↑"},
    {u"+^c", Caps::On, "Shift↓ Ctrl↓ C↓ C↑ Ctrl↑ Shift↑"},
    {u"^(ab)", Caps::On, "Ctrl↓ A↓ A↑ B↓ B↑ Ctrl↑"},
    {u"\u00E4", Caps::Off, "Oem102↓ Oem102↑"},
    {u"\u00E4", Caps::On, "Shift↓ Oem102↓ Oem102↑ Shift↑"},
    {u"\u00C4", Caps::On, "Oem102↓ Oem102↑"},
    // braced characters go through the same routine as bare ones
    {u"{A}", Caps::On, "A↓ A↑"},
    {u"{a}", Caps::On, "Shift↓ A↓ A↑ Shift↑"},
    {u"{A}", Caps::Off, "Shift↓ A↓ A↑ Shift↑"},
    {u"{\u00E4 2}", Caps::On, "Shift↓ Oem102↓ Oem102↑ Shift↑ Shift↓ Oem102↓ Oem102↑ Shift↑"},
    {u"{\u00FF}", Caps::Off, "U+00FF↓ U+00FF↑"},
    {u"{\u20AC 2}", Caps::Off, "U+20AC↓ U+20AC↑ U+20AC↓ U+20AC↑"},
    // a surrogate pair in braces is one character
    {u"{\U0001F600 2}", Caps::Off, "U+D83D↓ U+D83D↑ U+DE00↓ U+DE00↑ U+D83D↓ U+D83D↑ U+DE00↓ U+DE00↑"},
    {u"\U0001F600", Caps::Off, "U+D83D↓ U+D83D↑ U+DE00↓ U+DE00↑"},
    // AltGr characters are typed as Unicode, not as their key alone
    {u"\u00E9", Caps::Off, "U+00E9↓ U+00E9↑"},
    {u"\u00A3", Caps::Off, "U+00A3↓ U+00A3↑"},
    {u"{\u00E9}", Caps::Off, "U+00E9↓ U+00E9↑"},
    {u"^\u00E9", Caps::Off, "Ctrl↓ U+00E9↓ U+00E9↑ Ctrl↑"},
    {u"\x01", Caps::Off, "U+0001↓ U+0001↑"},
    // the line feed stays the Enter key although the layout reports Ctrl+Enter
    {u"\n", Caps::Off, "Enter↓ Enter↑"},
    {u"{\n}", Caps::Off, "Enter↓ Enter↑"},
    // names fold ASCII letters only
    {u"{pr\u0131nt}", Caps::Off, "P↓ P↑"},
    {u"{\u0130NSERT}", Caps::Off, "U+0130↓ U+0130↑"},
};

class SendKeySequenceTest : public ::testing::TestWithParam<SequenceCase> {
protected:
    platform::FakeKeyboardLayout m_layout;
    platform::RecordingInjector m_injector;
    KeySequenceTyper m_keys{m_layout, m_injector};
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
    {u"A", Caps::Off, "Shift↓[2A] A↓[1E] A↑[1E] Shift↑[2A]"},
    {u"{DOWN}", Caps::Off, "Down↓ext[50] Down↑ext[50]"},
    {u"^%{DEL}", Caps::Off, "Ctrl↓[1D] Alt↓[38] Delete↓ext[53] Delete↑ext[53] Alt↑[38] Ctrl↑[1D]"},
    {u"{HOME}{END}{PGUP}{PGDN}", Caps::Off,
     "Home↓ext[47] Home↑ext[47] End↓ext[4F] End↑ext[4F] PgUp↓ext[49] PgUp↑ext[49] PgDn↓ext[51] PgDn↑ext[51]"},
    {u"~{ENTER}\r", Caps::Off, "Enter↓[1C] Enter↑[1C] Enter↓[1C] Enter↑[1C] Enter↓[1C] Enter↑[1C]"},
    {u"{F1}{F12}{F16}", Caps::Off, "F1↓[3B] F1↑[3B] F12↓[58] F12↑[58] F16↓[67] F16↑[67]"},
    {u"{ESC}{BS}", Caps::Off, "Esc↓[01] Esc↑[01] Backspace↓[0E] Backspace↑[0E]"},
    {u"{HELP}", Caps::Off, "Help↓[00] Help↑[00]"},
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
    KeySequenceTyper keys(layout, injector);
    keys.SendKeySequence(u"q{q}a");
    EXPECT_EQ(injector.transcript(), "U+0071↓ U+0071↑ U+0071↓ U+0071↑ A↓ A↑");
}

TEST(UnicodeRecords, HoldTheCodeUnitWithoutKeyCode) {
    platform::FakeKeyboardLayout layout;
    platform::RecordingInjector injector;
    KeySequenceTyper keys(layout, injector);
    keys.SendKeySequence(u"\u20AC");
    const std::vector<KeyRecord> expected{{0, 0x20AC, kUnicode}, {0, 0x20AC, kUnicode | kKeyUp}};
    EXPECT_EQ(injector.records(), expected);
}

} // namespace
} // namespace quorvane::keys
