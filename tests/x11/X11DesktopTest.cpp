// The window walk, activation and the focus cache against windows the test creates, with and without openbox.
// GoogleTest first: Xlib defines macros (None, Bool) that its headers use as names.
#include <gtest/gtest.h>

#include "tests/support/XQueries.h"
#include "tests/support/XSession.h"
#include "tests/x11/X11TestBackend.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <chrono>
#include <thread>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

template <typename Predicate> bool eventually(Predicate done, std::chrono::milliseconds timeout = 3000ms) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// A window of the test's own. `utf8Title` goes to _NET_WM_NAME only; `latin1Title` to WM_NAME as STRING.
Window createWindow(Display *display, const std::string &utf8Title, const std::string &latin1Title, bool map = true) {
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 200, 100, 0, 0, 0);
    if (!utf8Title.empty()) {
        XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                        XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(utf8Title.data()), static_cast<int>(utf8Title.size()));
    }
    if (!latin1Title.empty()) {
        XChangeProperty(display, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(latin1Title.data()),
                        static_cast<int>(latin1Title.size()));
    }
    if (map) {
        XMapWindow(display, window);
    }
    XSync(display, False);
    if (map) {
        eventually([&] { return isViewable(display, window); });
    }
    return window;
}

class X11DesktopTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        std::string error;
        m_session = XSession::start({.windowManager = GetParam()}, error);
        ASSERT_TRUE(m_session) << error;
        m_backend = X11TestBackend::open(*m_session, error);
        ASSERT_TRUE(m_backend) << error;
        m_display = m_session->display();
    }

    platform::Desktop &desktop() { return *m_backend.backend.desktop; }

    // The walk, reduced to the given windows, in the order it lists them.
    std::vector<platform::TopLevelWindow> walkOf(const std::vector<Window> &ours) {
        std::vector<platform::TopLevelWindow> listed;
        for (const auto &entry : desktop().topLevelWindows()) {
            if (std::find(ours.begin(), ours.end(), static_cast<Window>(entry.id)) != ours.end()) {
                listed.push_back(entry);
            }
        }
        return listed;
    }

    std::vector<Window> walkIds(const std::vector<Window> &ours) {
        std::vector<Window> ids;
        for (const auto &entry : walkOf(ours)) {
            ids.push_back(static_cast<Window>(entry.id));
        }
        return ids;
    }

    std::unique_ptr<XSession> m_session;
    X11TestBackend m_backend;
    Display *m_display = nullptr;
};

TEST_P(X11DesktopTest, WalkListsTopmostFirstWithTitlesAndFollowsRestacking) {
    const Window a = createWindow(m_display, "", "Walk A");
    const Window b = createWindow(m_display, "", "Walk B");
    const Window c = createWindow(m_display, "Wälk C – ✓ Tera Term", "");
    const Window d = createWindow(m_display, "", "Caf\xe9 D");
    const std::vector<Window> ours = {a, b, c, d};
    EXPECT_TRUE(eventually([&] {
        return walkIds(ours) == std::vector<Window>{d, c, b, a};
    })) << "walk order before restacking";
    XRaiseWindow(m_display, a);
    XLowerWindow(m_display, d);
    XSync(m_display, False);
    EXPECT_TRUE(eventually([&] {
        return walkIds(ours) == std::vector<Window>{a, c, b, d};
    })) << "walk order after restacking";
    const auto walk = walkOf(ours);
    ASSERT_EQ(walk.size(), 4U);
    const std::vector<std::string> titles = {"Walk A", "Wälk C – ✓ Tera Term", "Walk B", "Café D"};
    for (std::size_t i = 0; i < walk.size(); ++i) {
        EXPECT_EQ(walk[i].title, titles[i]);
        EXPECT_TRUE(walk[i].visible) << walk[i].title;
    }
}

TEST_P(X11DesktopTest, UnmappedWindowIsNotVisible) {
    const Window shown = createWindow(m_display, "", "Shown");
    const Window hidden = createWindow(m_display, "", "Hidden", false);
    for (const auto &entry : walkOf({shown, hidden})) {
        EXPECT_EQ(entry.visible, entry.id == shown) << entry.title;
    }
}

TEST_P(X11DesktopTest, ActivationMovesTheFocusAndTheForegroundFollows) {
    const Window first = createWindow(m_display, "", "First");
    const Window second = createWindow(m_display, "", "Second");
    for (Window target : {first, second, first}) {
        ASSERT_TRUE(desktop().activate(target));
        EXPECT_EQ(desktop().foregroundWindow(), static_cast<platform::WindowId>(target));
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(m_display, &focus, &revert);
        EXPECT_EQ(focus, target);
    }
}

TEST_P(X11DesktopTest, ForegroundNoticesFocusMovedByAnotherProgram) {
    const Window mine = createWindow(m_display, "", "Mine");
    const Window other = createWindow(m_display, "", "Other");
    ASSERT_TRUE(desktop().activate(mine));
    XSetInputFocus(m_display, other, RevertToParent, CurrentTime);
    XSync(m_display, False);
    EXPECT_TRUE(eventually([&] { return desktop().foregroundWindow() == static_cast<platform::WindowId>(other); }));
    XSetInputFocus(m_display, mine, RevertToParent, CurrentTime);
    XSync(m_display, False);
    EXPECT_TRUE(eventually([&] { return desktop().foregroundWindow() == static_cast<platform::WindowId>(mine); }));
}

TEST_P(X11DesktopTest, ActivationFailsForAClosedWindow) {
    const Window gone = createWindow(m_display, "", "Gone");
    XDestroyWindow(m_display, gone);
    XSync(m_display, False);
    EXPECT_FALSE(desktop().activate(gone));
    EXPECT_NE(desktop().foregroundWindow(), static_cast<platform::WindowId>(gone));
}

// A minimised terminal is still the user's terminal: listed as visible, and activation brings it back.
TEST(X11MinimisedWindowTest, IsListedVisibleAndActivationRestoresIt) {
    std::string error;
    auto session = XSession::start({.windowManager = true}, error);
    ASSERT_TRUE(session) << error;
    X11TestBackend test = X11TestBackend::open(*session, error);
    ASSERT_TRUE(test) << error;
    Display *display = session->display();
    const Window window = createWindow(display, "", "Minimised Tera Term");
    ASSERT_TRUE(eventually([&] { return !longProperty(display, window, "WM_STATE").empty(); }));
    XIconifyWindow(display, window, DefaultScreen(display));
    XSync(display, False);
    ASSERT_TRUE(eventually([&] {
        const auto state = longProperty(display, window, "WM_STATE");
        return !isViewable(display, window) && !state.empty() && state[0] == IconicState;
    })) << "the window manager did not minimise the window";

    const auto walk = test.backend.desktop->topLevelWindows();
    const auto entry = std::find_if(walk.begin(), walk.end(), [&](const auto &w) { return w.id == window; });
    ASSERT_NE(entry, walk.end());
    EXPECT_TRUE(entry->visible);
    ASSERT_TRUE(test.backend.desktop->activate(window));
    EXPECT_TRUE(isViewable(display, window));
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    EXPECT_EQ(focus, window);
}

INSTANTIATE_TEST_SUITE_P(WindowManager, X11DesktopTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool> &param) {
                             return param.param ? std::string("Openbox") : std::string("NoWindowManager");
                         });

TEST(X11BackendOpenTest, NoDisplayFailsWithOneClearLine) {
    struct Case {
        const char *display;
        const char *wayland;
        const char *mentions;
    };
    const std::vector<Case> cases = {
        {nullptr, nullptr, "DISPLAY"}, {nullptr, "wayland-0", "Wayland"}, {":987654", nullptr, ":987654"}};
    for (const auto &c : cases) {
        c.display ? setenv("DISPLAY", c.display, 1) : unsetenv("DISPLAY");
        c.wayland ? setenv("WAYLAND_DISPLAY", c.wayland, 1) : unsetenv("WAYLAND_DISPLAY");
        std::string error;
        auto backend = platform::x11::openX11Backend(error);
        EXPECT_FALSE(backend.desktop || backend.layout || backend.injector);
        EXPECT_NE(error.find(c.mentions), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
    unsetenv("WAYLAND_DISPLAY");
}

} // namespace
} // namespace quorvane::test
