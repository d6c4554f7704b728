// Message boxes: the title and the UTF-8 text arrive intact, and the call returns once OK is pressed.
#include "platform/win32/Win32Dialogs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace quorvane::platform::win32 {
namespace {

constexpr int kMessageTextId = 0xFFFF; // the static control that holds a message box's text

// Waits for the box on another thread, reads its text and presses OK.
std::wstring answerBox(const wchar_t *title, std::atomic<bool> &found) {
    for (int i = 0; i < 500; ++i) {
        const HWND box = FindWindowW(L"#32770", title);
        if (box != nullptr) {
            wchar_t text[512] = {};
            GetDlgItemTextW(box, kMessageTextId, text, 512);
            found = true;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return text;
        }
        Sleep(10);
    }
    return {};
}

TEST(Win32Dialogs, ShowsTheTextUnderItsTitleAndReturnsOnOk) {
    const struct {
        MessageIcon icon;
        std::string text;
        std::wstring shown;
    } cases[] = {
        {MessageIcon::Warning, "Select a text file to send.", L"Select a text file to send."},
        {MessageIcon::None, "Caf\xC3\xA9 \xE2\x82\xAC", L"Caf\u00e9 \u20ac"},
        {MessageIcon::Error, "two\n\nparagraphs", L"two\n\nparagraphs"},
    };
    Win32Dialogs dialogs;
    for (const auto &c : cases) {
        std::atomic<bool> found = false;
        std::wstring shown;
        std::thread answerer([&] { shown = answerBox(L"Quorvane", found); });
        dialogs.showMessage("Quorvane", c.text, c.icon);
        answerer.join();
        EXPECT_TRUE(found) << c.text;
        EXPECT_EQ(shown, c.shown);
    }
}

} // namespace
} // namespace quorvane::platform::win32
