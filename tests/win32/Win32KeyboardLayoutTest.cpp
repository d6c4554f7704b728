// Layout look-ups and the Caps Lock query on the US layout that Wine takes from the X server's keymap.
#include "platform/win32/Win32KeyboardLayout.h"
#include "KeyCatcher.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32KeyInjector.h"

#include <gtest/gtest.h>

namespace quorvane::platform::win32 {
namespace {

struct Expected {
    char32_t ch;
    std::optional<KeyForCharacter> key;
};

KeyForCharacter key(std::uint8_t vk, bool shift, bool capsLockAffects) {
    KeyForCharacter k;
    k.vk = vk;
    k.shift = shift;
    k.capsLockAffects = capsLockAffects;
    return k;
}

void expectLookUps(Win32KeyboardLayout &layout, const std::vector<Expected> &table) {
    for (const Expected &e : table) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<std::uint32_t>(e.ch));
        const auto found = layout.keyForCharacter(e.ch);
        ASSERT_EQ(found.has_value(), e.key.has_value());
        if (found) {
            EXPECT_EQ(found->vk, e.key->vk);
            EXPECT_EQ(found->shift, e.key->shift);
            EXPECT_EQ(found->ctrl, e.key->ctrl);
            EXPECT_EQ(found->alt, e.key->alt);
            EXPECT_EQ(found->capsLockAffects, e.key->capsLockAffects);
        }
    }
}

TEST(Win32KeyboardLayout, UsLayoutCharacters) {
    Win32KeyboardLayout layout;
    layout.refresh();
    ASSERT_EQ(LOWORD(reinterpret_cast<UINT_PTR>(layout.layout())), 0x0409) << "Wine did not pick the US layout";
    expectLookUps(layout, {
                              {U'a', key('A', false, true)},
                              {U'A', key('A', true, true)},
                              {U'z', key('Z', false, true)},
                              {U'1', key('1', false, false)},
                              {U'!', key('1', true, false)},
                              {U'~', key(VK_OEM_3, true, false)},
                              {U'`', key(VK_OEM_3, false, false)},
                              {U'^', key('6', true, false)},
                              {U' ', key(VK_SPACE, false, false)},
                              {U'\r', key(VK_RETURN, false, false)},
                              {U'{', key(VK_OEM_4, true, false)},
                              {U'\u00e9', std::nullopt},
                              {U'\u20ac', std::nullopt},
                              {U'\U0001F600', std::nullopt},
                              {char32_t{0xD800}, std::nullopt},
                          });
}

TEST(Win32KeyboardLayout, ScanCodes) {
    Win32KeyboardLayout layout;
    layout.refresh();
    const std::pair<std::uint16_t, std::uint16_t> table[] = {
        {'A', 0x1e}, {'1', 0x02}, {VK_RETURN, 0x1c}, {VK_SHIFT, 0x2a}, {VK_SPACE, 0x39}, {VK_DOWN, 0x50}, {VK_F1, 0x3b},
    };
    for (const auto &[vk, scan] : table) {
        EXPECT_EQ(layout.scanCode(vk), scan) << "vk " << vk;
    }
}

void pressCapsLock(test::KeyCatcher &catcher) {
    const std::vector<platform::KeyRecord> press = {{VK_CAPITAL, 0, 0}, {VK_CAPITAL, 0x3a, platform::kKeyUp}};
    Win32KeyInjector injector;
    ASSERT_EQ(injector.inject(press), press.size());
    ASSERT_TRUE(catcher.waitForKeyUp(VK_CAPITAL));
}

TEST(Win32KeyboardLayout, CapsLockFollowsTheToggleKey) {
    test::KeyCatcher catcher(L"caps lock target");
    Win32Desktop desktop;
    ASSERT_TRUE(desktop.activate(reinterpret_cast<WindowId>(catcher.handle())));
    Win32KeyboardLayout layout;
    const bool before = layout.capsLockOn();
    pressCapsLock(catcher);
    EXPECT_NE(layout.capsLockOn(), before);
    pressCapsLock(catcher);
    EXPECT_EQ(layout.capsLockOn(), before);
}

} // namespace
} // namespace quorvane::platform::win32
