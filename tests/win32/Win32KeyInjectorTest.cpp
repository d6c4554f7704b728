// Key records to INPUT records, and real SendInput.
#include "platform/win32/Win32KeyInjector.h"
#include "KeyCatcher.h"
#include "platform/win32/Win32Desktop.h"

#include <gtest/gtest.h>

namespace quorvane::platform::win32 {
namespace {

using platform::KeyRecord;
constexpr std::uint32_t kUp = platform::kKeyUp;
constexpr std::uint32_t kExt = platform::kExtendedKey;
constexpr std::uint32_t kUni = platform::kUnicode;

TEST(Win32KeyInjector, RecordsBecomeKeyboardInputs) {
    struct Case {
        KeyRecord record;
        WORD vk;
        WORD scan;
        DWORD flags;
    };
    const Case cases[] = {
        {{VK_SHIFT, 0, 0}, VK_SHIFT, 0, 0},
        {{VK_SHIFT, 0, kUp}, VK_SHIFT, 0, KEYEVENTF_KEYUP},
        {{'A', 0x1e, kUp}, 'A', 0x1e, KEYEVENTF_KEYUP},
        {{VK_DOWN, 0, kExt}, VK_DOWN, 0, KEYEVENTF_EXTENDEDKEY},
        {{VK_DOWN, 0x50, kExt | kUp}, VK_DOWN, 0x50, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP},
        {{0, 0x20ac, kUni}, 0, 0x20ac, KEYEVENTF_UNICODE},
        {{0, 0x20ac, kUni | kUp}, 0, 0x20ac, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP},
        // A Unicode record never carries a key code, even if one was filled in.
        {{'X', 0xd83d, kUni}, 0, 0xd83d, KEYEVENTF_UNICODE},
    };
    for (const Case &c : cases) {
        const INPUT input = toInput(c.record);
        SCOPED_TRACE(testing::Message() << "vk " << c.record.vk << " flags " << c.record.flags);
        EXPECT_EQ(input.type, static_cast<DWORD>(INPUT_KEYBOARD));
        EXPECT_EQ(input.ki.wVk, c.vk);
        EXPECT_EQ(input.ki.wScan, c.scan);
        EXPECT_EQ(input.ki.dwFlags, c.flags);
        EXPECT_EQ(input.ki.time, 0u);
        EXPECT_EQ(input.ki.dwExtraInfo, 0u);
    }
}

TEST(Win32KeyInjector, OneBlockReachesTheForegroundWindowWithItsCount) {
    test::KeyCatcher catcher(L"injector target");
    Win32Desktop desktop;
    ASSERT_TRUE(desktop.activate(reinterpret_cast<WindowId>(catcher.handle())));
    const std::vector<KeyRecord> records = {
        {VK_SHIFT, 0, 0},  {'Q', 0, 0},
        {'Q', 0x10, kUp},  {VK_SHIFT, 0, kUp},
        {'W', 0, 0},       {'W', 0x11, kUp},
        {0, 0x20ac, kUni}, {0, 0x20ac, kUni | kUp},
        {0, 0xd83d, kUni}, {0, 0xd83d, kUni | kUp},
        {0, 0xde00, kUni}, {0, 0xde00, kUni | kUp},
    };
    Win32KeyInjector injector;
    EXPECT_EQ(injector.inject(records), records.size());
    EXPECT_EQ(injector.inject({}), 0u);
    ASSERT_TRUE(catcher.waitForChars(5)) << "received so far: " << catcher.chars().size();
    EXPECT_EQ(catcher.chars(), L"Qw\u20ac\U0001F600");
}

TEST(Win32KeyInjector, ARestrictedInjectorTypesOnlyIntoItsWindow) {
    test::KeyCatcher other(L"other window");
    test::KeyCatcher terminal(L"restricted terminal");
    Win32Desktop desktop;
    Win32KeyInjector injector;
    const std::vector<KeyRecord> x = {{'X', 0, 0}, {'X', 0x2d, kUp}};
    const std::vector<KeyRecord> releaseThenY = {{VK_SHIFT, 0, kUp}, {'Y', 0, 0}, {'Y', 0x15, kUp}};
    const struct {
        test::KeyCatcher *focused;
        const std::vector<KeyRecord> *records;
        std::size_t inserted;
    } steps[] = {{&other, &x, 0}, {&other, &releaseThenY, 1}, {&terminal, &x, 2}, {&terminal, &releaseThenY, 3}};
    injector.restrictTo(reinterpret_cast<WindowId>(terminal.handle()));
    for (const auto &step : steps) {
        ASSERT_TRUE(desktop.activate(reinterpret_cast<WindowId>(step.focused->handle())));
        EXPECT_EQ(injector.inject(*step.records), step.inserted);
    }
    ASSERT_TRUE(terminal.waitForChars(2));
    test::pumpFor(50);
    EXPECT_EQ(terminal.chars(), L"xy");
    EXPECT_EQ(other.chars(), L"");
    injector.restrictTo(std::nullopt);
    ASSERT_TRUE(desktop.activate(reinterpret_cast<WindowId>(other.handle())));
    EXPECT_EQ(injector.inject(x), 2u);
}

} // namespace
} // namespace quorvane::platform::win32
