// Whole transfers through the engine and the Win32 backend into wintestwindow, compared by the characters
// that window received: the four file types, Caps Lock, characters off the layout, a missing or doubled window.
#include "TestWindowProcess.h"
#include "engine/SendDriver.h"
#include "platform/fake/CapturedDialogs.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32EventPump.h"
#include "platform/win32/Win32KeyInjector.h"
#include "platform/win32/Win32KeyboardLayout.h"
#include "platform/win32/Win32Timer.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace quorvane::platform::win32 {
namespace {

using engine::SendResult;
using test::TestWindowProcess;

const std::wstring kTeraTermTitle = L"COM1 - Tera Term VT";

class Win32Transfer : public ::testing::Test {
protected:
    void SetUp() override {
        host.folder = m_files.path().string();
        host.selected = "input";
        host.caption.clear();
    }

    void writeInput(std::string_view bytes) { m_files.write(*host.selected, bytes); }
    std::unique_ptr<TestWindowProcess> startWindow(const std::wstring &title, const std::string &logName) {
        auto window = std::make_unique<TestWindowProcess>(QUORVANE_TEST_WINDOW, title, m_files.path() / logName);
        EXPECT_NE(window->window(), nullptr) << "wintestwindow did not show its window";
        return window;
    }
    SendResult send() {
        engine::SendDriver driver(host, {desktop, layout, injector, pump, timer, clock, dialogs});
        return driver.Send();
    }

    quorvane::test::FakeHost host;
    Win32Desktop desktop;
    Win32KeyboardLayout layout;
    Win32KeyInjector injector;
    Win32EventPump pump;
    Win32Timer timer;
    Win32Clock clock;
    CapturedDialogs dialogs;

private:
    quorvane::test::TempFolder m_files{"quorvane-transfer-"};
};

struct FileCase {
    const char *name;
    engine::FileType type;
    std::string_view bytes;
    std::wstring received;
};

TEST_F(Win32Transfer, EachFileTypeArrivesAsItsCharacters) {
    const FileCase cases[] = {
        {"loader", engine::FileType::Loader, "00010PROGNAME9FE00BC820B0000BFE047F809F       0001\r\n:       \r\n",
         L"00010PROGNAME9FE00BC820B0000BFE047F809F       0001\r:       "},
        {"tagged object, EVMBUG", engine::FileType::TaggedObject,
         "00010PROGNAME9FE00BC820B0000BFE047F809F       0001\r\n:       \r\n", L"\rIM FE00\rC820 0000 FE04 \r"},
        {"hex dump", engine::FileType::HexDump, std::string_view("\x12\x0A\xFF\x00", 4), L"120A FF00 \r"},
        {"text", engine::FileType::Text, "10 PRINT (1+2)*3; \"a~b^c%d{e}\"\r\n20 END\r\n",
         L"10 PRINT (1+2)*3; \"a~b^c%d{e}\"\r20 END"},
    };
    for (const FileCase &c : cases) {
        SCOPED_TRACE(c.name);
        host.type = c.type;
        writeInput(c.bytes);
        auto terminal = startWindow(kTeraTermTitle, "terminal.log");
        ASSERT_EQ(send(), SendResult::Completed);
        ASSERT_TRUE(terminal->end());
        EXPECT_EQ(terminal->chars(), c.received);
    }
}

TEST_F(Win32Transfer, CharactersOffTheLayoutArriveThroughUnicodeRecords) {
    writeInput("caf\xC3\xA9 \xE2\x82\xAC 5 \xF0\x9F\x98\x80 \xC3\x84rger\r\n");
    auto terminal = startWindow(kTeraTermTitle, "terminal.log");
    ASSERT_EQ(send(), SendResult::Completed);
    ASSERT_TRUE(terminal->end());
    EXPECT_EQ(terminal->chars(), L"caf\u00e9 \u20ac 5 \U0001F600 \u00c4rger");
}

void pressCapsLock() {
    INPUT press[2]{};
    for (INPUT &input : press) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_CAPITAL;
    }
    press[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, press, sizeof(INPUT)), 2u);
}

TEST_F(Win32Transfer, CapsLockOnOrOffTheLettersKeepTheirCase) {
    writeInput("Hello World 42 ~!@\r\n");
    for (const bool capsLock : {false, true}) {
        SCOPED_TRACE(capsLock ? "Caps Lock on" : "Caps Lock off");
        auto terminal = startWindow(kTeraTermTitle, "terminal.log");
        ASSERT_TRUE(desktop.activate(reinterpret_cast<WindowId>(terminal->window())));
        if (layout.capsLockOn() != capsLock) {
            pressCapsLock();
            for (int i = 0; i < 100 && layout.capsLockOn() != capsLock; ++i) {
                pump.processEventsUntil(clock.now() + std::chrono::milliseconds(10));
            }
        }
        ASSERT_EQ(layout.capsLockOn(), capsLock);
        ASSERT_EQ(send(), SendResult::Completed);
        ASSERT_TRUE(terminal->end());
        EXPECT_EQ(terminal->chars(), L"Hello World 42 ~!@");
    }
    pressCapsLock();
}

TEST_F(Win32Transfer, WithoutTheTerminalNothingIsTypedAndTheUserIsTold) {
    writeInput("never typed\r\n");
    auto bystander = startWindow(L"COM1 - PuTTY", "bystander.log");
    ASSERT_TRUE(desktop.activate(reinterpret_cast<WindowId>(bystander->window())));
    EXPECT_EQ(send(), SendResult::TerminalNotFound);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_NE(dialogs.messages()[0].text.find("is not running"), std::string::npos);
    ASSERT_TRUE(bystander->end());
    EXPECT_EQ(bystander->chars(), L"");
}

TEST_F(Win32Transfer, OfTwoMatchingWindowsTheLowerOneIsTypedInto) {
    writeInput("AB\r\n");
    auto lower = startWindow(L"COM1 - Tera Term VT", "lower.log");
    auto upper = startWindow(L"COM2 - Tera Term VT", "upper.log");
    ASSERT_TRUE(desktop.activate(reinterpret_cast<WindowId>(upper->window())));
    ASSERT_EQ(send(), SendResult::Completed);
    EXPECT_EQ(desktop.foregroundWindow(), std::optional<WindowId>(reinterpret_cast<WindowId>(lower->window())));
    ASSERT_TRUE(lower->end());
    ASSERT_TRUE(upper->end());
    EXPECT_EQ(lower->chars(), L"AB");
    EXPECT_EQ(upper->chars(), L"");
}

} // namespace
} // namespace quorvane::platform::win32
