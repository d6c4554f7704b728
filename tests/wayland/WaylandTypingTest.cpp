// Typing through the synthesiser and the Wayland backend into foot under a headless sway: the bytes that arrive.
#include <gtest/gtest.h>

#include "engine/TextDecoding.h"
#include "tests/support/SwaySession.h"
#include "tests/wayland/WaylandTestBackend.h"

#include <iostream>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

std::string printableAscii() {
    std::string text;
    for (char c = 0x20; c < 0x7F; ++c) {
        text += c;
    }
    return text + "\t\r";
}

std::string utf8(char32_t ch) {
    std::string out;
    engine::appendUtf8(out, ch);
    return out;
}

// 300 different characters, more than the keymap has free keys: keys are recycled and the keymap sent again.
std::string manyDifferent() {
    std::string text;
    for (char32_t ch : {U'\u0100', U'\u0391', U'\u0410', U'\u05D0', U'\u4E00'}) {
        for (char32_t i = 0; i < 60; ++i) {
            text += utf8(ch + i);
        }
    }
    return text;
}

const std::string kOutsideUs = "é ß € Ω “ ” É Ä Ñ ø Ł ω Ж 😀";
const std::string kGerman = "äöüÄÖÜß^°`´~@€|{}[]\\<>";
const std::string kFrench = "éèàçù&\"'(-_)=1234567890²µ§^¨";

struct TypingCase {
    const char *name;
    std::string text;
};

class WaylandTypingTest : public testing::TestWithParam<TypingCase> {
public:
    static void SetUpTestSuite() {
        std::string error;
        const auto started = std::chrono::steady_clock::now();
        s_session = SwaySession::start(error);
        if (s_session) {
            s_terminal = FootCapture::start(*s_session, "COM1 - Tera Term VT", error);
        }
        if (s_terminal) {
            s_backend = std::make_unique<WaylandTestBackend>(WaylandTestBackend::open(*s_session, error));
        }
        if (s_backend && *s_backend) {
            s_window = s_backend->windowTitled("COM1 - Tera Term VT");
            // The first key after the terminal is found: the figure that keeps the suite short.
            s_backend->backend.desktop->activate(s_window.value_or(0));
            s_backend->typeText("!");
            s_terminal->capture.take(1);
            std::cout << "sway socket after " << s_session->startupTime().count() << " ms; first key typed "
                      << std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                               started)
                             .count()
                      << " ms after starting sway\n";
        }
        s_error = error;
    }
    static void TearDownTestSuite() {
        s_backend.reset();
        s_terminal.reset();
        s_session.reset();
    }

protected:
    void SetUp() override {
        ASSERT_TRUE(s_session && s_terminal && s_backend && *s_backend && s_window) << s_error;
        ASSERT_TRUE(s_backend->backend.desktop->activate(*s_window));
    }

    // What arrives for `text`, typed restricted to the terminal as a transfer types.
    std::string typeAndCapture(const std::string &text) {
        s_backend->backend.injector->restrictTo(s_window);
        s_backend->typeText(text);
        s_backend->backend.injector->restrictTo(std::nullopt);
        return s_terminal->capture.take(text.size());
    }

    static inline std::unique_ptr<SwaySession> s_session;
    static inline std::unique_ptr<FootCapture> s_terminal;
    static inline std::unique_ptr<WaylandTestBackend> s_backend;
    static inline std::optional<platform::WindowId> s_window;
    static inline std::string s_error;
};

// After each case a plain letter must come out plain: no modifier or key was left down.
TEST_P(WaylandTypingTest, BytesArriveExactlyAndNothingIsLeftHeld) {
    const TypingCase &c = GetParam();
    EXPECT_EQ(typeAndCapture(c.text), c.text);
    EXPECT_EQ(typeAndCapture("x"), "x");
}

INSTANTIATE_TEST_SUITE_P(Characters, WaylandTypingTest,
                         testing::Values(TypingCase{"Ascii", printableAscii()}, TypingCase{"OutsideUs", kOutsideUs},
                                         TypingCase{"German", kGerman}, TypingCase{"French", kFrench},
                                         TypingCase{"ControlCharacters",
                                                    std::string("\x01\x03\x11\x13\x1a\x1c\x1f\x7f")},
                                         TypingCase{"ThreeHundredDifferent", manyDifferent()}),
                         [](const testing::TestParamInfo<TypingCase> &param) { return std::string(param.param.name); });

struct NamedKeyCase {
    const char16_t *sequence;
    std::string bytes; // what foot sends for the key
};

class WaylandNamedKeyTest : public WaylandTypingTest {};

TEST_F(WaylandNamedKeyTest, NamedKeysAndChordsSendTheirTerminalSequences) {
    const std::vector<NamedKeyCase> cases = {
        {u"{BS}", "\x7f"},
        {u"{TAB}", "\t"},
        {u"{ENTER}", "\r"},
        {u"~", "\r"},
        {u"{ESC}", "\x1b"},
        {u"{INSERT}", "\x1b[2~"},
        {u"{DEL}", "\x1b[3~"},
        {u"{HOME}", "\x1b[H"},
        {u"{END}", "\x1b[F"},
        {u"{PGUP}", "\x1b[5~"},
        {u"{PGDN}", "\x1b[6~"},
        {u"{UP}", "\x1b[A"},
        {u"{DOWN}", "\x1b[B"},
        {u"{RIGHT}", "\x1b[C"},
        {u"{LEFT}", "\x1b[D"},
        {u"{F1}", "\x1bOP"},
        {u"{F4}", "\x1bOS"},
        {u"{F5}", "\x1b[15~"},
        {u"^c", "\x03"},
        {u"^s", "\x13"},
        {u"^q", "\x11"},
        {u"+a", "A"},
        {u"{a 3}", "aaa"},
        {u"+(ab)", "AB"},
        {u"{CAPSLOCK}a{CAPSLOCK}a", "Aa"},
        {u"{CAPSLOCK}éΩω{CAPSLOCK}éω", "éΩωéω"},
        {u"\n", "\r"},
        {u"{\x01}", "\x01"},
    };
    s_backend->backend.injector->restrictTo(s_window);
    for (const auto &c : cases) {
        EXPECT_TRUE(s_backend->sendKeys->SendKeySequence(c.sequence));
        s_backend->backend.injector->finish();
        const std::string received = s_terminal->capture.take(c.bytes.size());
        EXPECT_EQ(received, c.bytes) << testing::PrintToString(std::u16string(c.sequence));
    }
    s_backend->backend.injector->restrictTo(std::nullopt);
    EXPECT_EQ(typeAndCapture("x"), "x");
}

} // namespace
} // namespace quorvane::test
