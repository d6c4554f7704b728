// The window walk, titles, visibility and activation against real windows of this test process.
#include "platform/win32/Win32Desktop.h"
#include "KeyCatcher.h"
#include "platform/DesktopBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace quorvane::platform::win32 {
namespace {

using test::KeyCatcher;

WindowId idOf(HWND window) { return reinterpret_cast<WindowId>(window); }

std::ptrdiff_t positionOf(const std::vector<TopLevelWindow> &windows, HWND window) {
    const auto found =
        std::find_if(windows.begin(), windows.end(), [&](const auto &w) { return w.id == idOf(window); });
    return found == windows.end() ? -1 : found - windows.begin();
}

TEST(Win32Desktop, WalkReportsTitlesInUtf8AndVisibility) {
    struct Case {
        std::wstring title;
        bool shown;
        std::string expectedTitle;
    };
    const Case cases[] = {
        {L"COM1 - Tera Term VT", true, "COM1 - Tera Term VT"},
        {L"HyperTerminal \u00e9\u00df \u20ac \U0001F600", true,
         "HyperTerminal \xc3\xa9\xc3\x9f \xe2\x82\xac \xf0\x9f\x98\x80"},
        {L"hidden Tera Term", false, "hidden Tera Term"},
        {L"", true, ""},
    };
    std::vector<std::unique_ptr<KeyCatcher>> windows;
    for (const Case &c : cases) {
        windows.push_back(std::make_unique<KeyCatcher>(c.title, c.shown));
    }
    Win32Desktop desktop;
    const std::vector<TopLevelWindow> walk = desktop.topLevelWindows();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::ptrdiff_t at = positionOf(walk, windows[i]->handle());
        ASSERT_GE(at, 0) << "window " << i << " missing from the walk";
        EXPECT_EQ(walk[at].title, cases[i].expectedTitle);
        EXPECT_EQ(walk[at].visible, cases[i].shown);
    }
}

TEST(Win32Desktop, WalkIsInStackingOrderFromTheOwnWindowOrWithout) {
    KeyCatcher lower(L"lower Tera Term");
    KeyCatcher upper(L"upper Tera Term");
    SetWindowPos(upper.handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    KeyCatcher own(L"Quorvane");
    SetWindowPos(own.handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (HWND start : {static_cast<HWND>(nullptr), own.handle()}) {
        Win32Desktop desktop(start);
        const auto walk = desktop.topLevelWindows();
        const auto upperAt = positionOf(walk, upper.handle());
        const auto lowerAt = positionOf(walk, lower.handle());
        ASSERT_GE(upperAt, 0);
        ASSERT_GE(lowerAt, 0);
        EXPECT_LT(upperAt, lowerAt) << "topmost first";
        // The walk starts at the first window of the stacking order even when the own window is the last.
        EXPECT_GE(positionOf(walk, own.handle()), lowerAt);
        EXPECT_EQ(walk.front().id, idOf(GetTopWindow(nullptr)));
    }
}

TEST(Win32Desktop, ActivationBringsTheWindowForwardEvenWhenMinimised) {
    KeyCatcher first(L"first Tera Term");
    KeyCatcher second(L"second Tera Term");
    Win32Desktop desktop;
    for (int round = 0; round < 2; ++round) {
        for (KeyCatcher *target : {&first, &second}) {
            if (round == 1) {
                ShowWindow(target->handle(), SW_MINIMIZE);
                test::pumpFor(50);
            }
            ASSERT_TRUE(desktop.activate(idOf(target->handle())));
            EXPECT_EQ(desktop.foregroundWindow(), std::optional<WindowId>(idOf(target->handle())));
            EXPECT_FALSE(IsIconic(target->handle()));
        }
    }
}

TEST(Win32Desktop, ActivationOfAWindowThatIsGoneFailsAndLeavesTheForeground) {
    KeyCatcher current(L"current");
    Win32Desktop desktop;
    ASSERT_TRUE(desktop.activate(idOf(current.handle())));
    HWND gone = nullptr;
    {
        KeyCatcher closed(L"closed Tera Term");
        gone = closed.handle();
        SetForegroundWindow(current.handle());
    }
    EXPECT_FALSE(desktop.activate(idOf(gone)));
    EXPECT_FALSE(desktop.activate(0));
    EXPECT_EQ(desktop.foregroundWindow(), std::optional<WindowId>(idOf(current.handle())));
}

TEST(Win32Desktop, TheBackendOpensOnTheInteractiveDesktop) {
    std::string error;
    const DesktopBackend backend = openDesktopBackend(error);
    EXPECT_EQ(error, "");
    EXPECT_NE(backend.desktop, nullptr);
    EXPECT_NE(backend.layout, nullptr);
    EXPECT_NE(backend.injector, nullptr);
}

} // namespace
} // namespace quorvane::platform::win32
