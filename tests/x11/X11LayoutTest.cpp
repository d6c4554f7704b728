// The layout look-ups on live XKB keymaps: which key and Shift state the backend names, per layout and group.
// GoogleTest first: Xlib defines macros (None, Bool) that its headers use as names.
#include <gtest/gtest.h>

#include "platform/x11/X11Keyboard.h"
#include "tests/support/XSession.h"
#include "tests/x11/X11TestBackend.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace quorvane::test {
namespace {

struct Expectation {
    const char *layout;
    int group;
    char32_t ch;
    bool onLayout;
    std::uint8_t vk = 0; // checked when not 0
    bool shift = false;
    bool ctrl = false; // the line feed is Ctrl+Enter, as Windows has it
};

constexpr std::uint8_t kAllocated = 0xFF; // any code outside letters, digits and named keys

class X11LayoutTest : public testing::Test {
public:
    static void SetUpTestSuite() {
        std::string error;
        s_session = XSession::start({}, error);
        if (s_session) {
            s_backend = std::make_unique<X11TestBackend>(X11TestBackend::open(*s_session, error));
        }
        s_error = error;
    }
    static void TearDownTestSuite() {
        s_backend.reset();
        s_session.reset();
    }

protected:
    void SetUp() override { ASSERT_TRUE(s_session && s_backend && *s_backend) << s_error; }

    platform::KeyboardLayout &layout() { return *s_backend->backend.layout; }

    void use(const std::string &layoutName, int group, bool capsLock = false) {
        if (layoutName != s_layout) {
            ASSERT_TRUE(s_session->setLayout(layoutName));
            s_layout = layoutName;
        }
        ASSERT_TRUE(s_session->lockGroup(group));
        ASSERT_TRUE(s_session->setCapsLock(capsLock));
        layout().refresh();
    }

    // What the key named for `vk` types at the given Shift state, on a fresh copy of the server's keymap
    // (the session connection's own copy is not refreshed: it handles no events).
    KeySym typedBy(std::uint16_t vk, bool shift, int group) {
        const auto keycode = static_cast<KeyCode>(layout().scanCode(vk));
        XkbDescPtr xkb = XkbGetMap(s_session->display(), XkbAllClientInfoMask, XkbUseCoreKbd);
        KeySym sym = NoSymbol;
        unsigned consumed = 0;
        XkbTranslateKeyCode(xkb, keycode, XkbBuildCoreState(shift ? ShiftMask : 0, group), &consumed, &sym);
        XkbFreeKeyboard(xkb, 0, True);
        return sym;
    }

    static inline std::unique_ptr<XSession> s_session;
    static inline std::unique_ptr<X11TestBackend> s_backend;
    static inline std::string s_error;
    static inline std::string s_layout = "us";
};

TEST_F(X11LayoutTest, CharactersMapToTheExpectedKeys) {
    const std::vector<Expectation> table = {
        {"us", 0, U'a', true, 'A', false},
        {"us", 0, U'A', true, 'A', true},
        {"us", 0, U'1', true, '1', false},
        {"us", 0, U'!', true, '1', true},
        {"us", 0, U' ', true, 32, false},
        {"us", 0, U'\r', true, 13, false},
        {"us", 0, U'\t', true, 9, false},
        {"us", 0, U'\b', true, 8, false},
        {"us", 0, U'\x1b', true, 27, false},
        {"us", 0, U'\n', true, 13, false, true},
        {"us", 0, U'\x03', false},
        {"us", 0, U'é', false},
        {"us", 0, U'€', false},
        {"de", 0, U'z', true, 'Z', false},
        {"de", 0, U'Y', true, 'Y', true},
        {"de", 0, U'ä', true, kAllocated},
        {"de", 0, U'Ä', true, kAllocated, true},
        {"de", 0, U'ß', true, kAllocated},
        {"de", 0, U'@', false},
        {"de", 0, U'^', false},
        {"de", 0, U'`', false},
        {"de", 0, U'~', false},
        {"de", 0, U'€', false},
        {"fr", 0, U'a', true, 'A', false},
        {"fr", 0, U'q', true, 'Q', false},
        {"fr", 0, U'1', true, '1', true},
        {"fr", 0, U'&', true, '1', false},
        {"fr", 0, U'é', true, '2', false},
        {"fr", 0, U'^', false},
        {"fr", 0, U'#', false},
        {"us,de", 1, U'z', true, 'Z'},
        {"us,de", 1, U'ö', true, kAllocated},
        {"us,de", 1, U'@', false},
        {"us,de", 1, U'[', false},
    };
    for (const auto &e : table) {
        use(e.layout, e.group);
        const auto key = layout().keyForCharacter(e.ch);
        SCOPED_TRACE(std::string(e.layout) + " U+" + std::to_string(static_cast<unsigned>(e.ch)));
        ASSERT_EQ(key.has_value(), e.onLayout);
        if (!key) {
            continue;
        }
        EXPECT_EQ(key->shift, e.shift);
        EXPECT_EQ(key->ctrl, e.ctrl);
        EXPECT_FALSE(key->alt);
        const bool letterOrDigit = (key->vk >= 'A' && key->vk <= 'Z') || (key->vk >= '0' && key->vk <= '9');
        if (e.vk == kAllocated) {
            EXPECT_FALSE(letterOrDigit) << int(key->vk);
        } else {
            EXPECT_EQ(key->vk, e.vk);
        }
    }
}

// Whatever key the look-up names must type exactly that character on the server's keymap.
TEST_F(X11LayoutTest, EveryPrintableAsciiKeyTypesItsCharacter) {
    for (const auto &[name, group] :
         std::vector<std::pair<const char *, int>>{{"us", 0}, {"de", 0}, {"fr", 0}, {"us,de", 1}}) {
        use(name, group);
        int found = 0;
        for (char32_t ch = 0x20; ch < 0x7F; ++ch) {
            const auto key = layout().keyForCharacter(ch);
            if (!key) {
                continue;
            }
            ++found;
            EXPECT_EQ(typedBy(key->vk, key->shift, group), static_cast<KeySym>(ch))
                << name << " '" << static_cast<char>(ch) << "'";
        }
        EXPECT_GE(found, 80) << name << ": too few characters found on the layout";
    }
}

TEST_F(X11LayoutTest, CapsLockIsReadAndMarksLetters) {
    use("us", 0, true);
    EXPECT_TRUE(layout().capsLockOn());
    EXPECT_TRUE(layout().keyForCharacter(U'q')->capsLockAffects);
    EXPECT_FALSE(layout().keyForCharacter(U'5')->capsLockAffects);
    use("de", 0, true);
    // With Caps Lock on, ß's key types ẞ: the key must not be named for ß then.
    EXPECT_FALSE(layout().keyForCharacter(U'ß').has_value());
    EXPECT_TRUE(layout().keyForCharacter(U'ä')->capsLockAffects);
    use("us", 0, false);
    EXPECT_FALSE(layout().capsLockOn());
}

TEST_F(X11LayoutTest, NamedKeysFollowTheExtendedFlag) {
    use("us", 0);
    std::string error;
    auto session = platform::x11::X11Session::open(error);
    ASSERT_TRUE(session) << error;
    platform::x11::X11Keyboard keyboard(session);
    keyboard.refresh();
    struct Named {
        std::uint16_t vk;
        bool extended;
        KeySym keysym;
    };
    const std::vector<Named> table = {
        {13, false, XK_Return}, {13, true, XK_KP_Enter},   {40, true, XK_Down},     {40, false, XK_KP_Down},
        {36, true, XK_Home},    {36, false, XK_KP_Home},   {46, true, XK_Delete},   {45, true, XK_Insert},
        {112, false, XK_F1},    {127, false, NoSymbol},    {16, false, XK_Shift_L}, {17, true, XK_Control_R},
        {19, true, XK_Pause},   {20, false, XK_Caps_Lock}, {0x07, false, NoSymbol},
    };
    for (const auto &n : table) {
        const KeyCode expected = n.keysym == NoSymbol ? 0 : XKeysymToKeycode(s_session->display(), n.keysym);
        EXPECT_EQ(keyboard.keycodeForVk(n.vk, n.extended), expected) << "vk " << n.vk << " extended " << n.extended;
    }
}

} // namespace
} // namespace quorvane::test
