// The desktop's top-level windows on X11: the walk in stacking order, activation, and the focus from events.
#include "platform/x11/X11Desktop.h"

#include "platform/x11/WindowProperties.h"

#include <algorithm>
#include <thread>

#include <unistd.h>

namespace quorvane::platform::x11 {
namespace {

constexpr long kSourcePager = 2; // _NET_ACTIVE_WINDOW source indication: a pager or similar tool
constexpr std::chrono::milliseconds kFocusPoll{5};

} // namespace

// Topmost first: the window manager's stacking list reversed, else the root's children (bottom first) reversed.
std::vector<Window> X11Desktop::stackingOrder() {
    std::vector<Window> order;
    if (windowManagerActivates(*m_session)) {
        for (unsigned long window : longProperty(*m_session, m_session->root(), "_NET_CLIENT_LIST_STACKING")) {
            order.push_back(static_cast<Window>(window));
        }
        if (!order.empty()) {
            std::reverse(order.begin(), order.end());
            return order;
        }
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(m_session->display(), m_session->root(), &root, &parent, &children, &count) == 0) {
        return order;
    }
    for (unsigned i = count; i-- > 0;) {
        if (auto client = clientWindow(*m_session, children[i])) {
            order.push_back(*client);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return order;
}

std::vector<TopLevelWindow> X11Desktop::topLevelWindows() {
    std::vector<TopLevelWindow> windows;
    for (Window window : stackingOrder()) {
        // A minimised window counts as visible, as on Windows: activating it restores it.
        const bool visible = isViewable(m_session->display(), window) || isIconic(*m_session, window);
        windows.push_back(TopLevelWindow{window, windowTitle(*m_session, window), visible});
    }
    return windows;
}

std::optional<Window> X11Desktop::focusedClient() {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_session->display(), &focus, &revert);
    if (focus == None || focus == PointerRoot) {
        return std::nullopt;
    }
    return containingClient(*m_session, focus);
}

void X11Desktop::requestActivation(Window window) {
    Display *display = m_session->display();
    if (windowManagerActivates(*m_session)) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = m_session->atom("_NET_ACTIVE_WINDOW");
        event.xclient.format = 32;
        event.xclient.data.l[0] = kSourcePager;
        event.xclient.data.l[1] = static_cast<long>(m_session->serverTime());
        event.xclient.data.l[2] = static_cast<long>(m_foreground.value_or(0));
        XSendEvent(display, m_session->root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    } else {
        XRaiseWindow(display, window);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
    }
    XFlush(display);
}

bool X11Desktop::activate(WindowId id) {
    // The window manager has to act, and cannot while we hold the server.
    m_session->releaseServer();
    const auto window = static_cast<Window>(id);
    XWindowAttributes attributes{};
    if (window == 0 || XGetWindowAttributes(m_session->display(), window, &attributes) == 0) {
        return false;
    }
    m_session->watchWindow(window);
    // Mapping a minimised client asks its window manager to restore it.
    if (isIconic(*m_session, window)) {
        XMapRaised(m_session->display(), window);
    }
    requestActivation(window);
    const auto deadline = std::chrono::steady_clock::now() + kActivationDeadline;
    do {
        m_foreground = focusedClient();
        if (m_foreground == window) {
            m_session->processPendingEvents();
            m_session->clearFocusChanged();
            return true;
        }
        std::this_thread::sleep_for(kFocusPoll);
    } while (std::chrono::steady_clock::now() < deadline);
    m_session->processPendingEvents();
    return false;
}

std::optional<WindowId> X11Desktop::foregroundWindow() {
    m_session->processPendingEvents();
    // With nothing focused no event of ours would report the next focus, so that case is asked every time.
    if (m_session->focusChanged() || !m_foreground) {
        m_session->clearFocusChanged();
        m_foreground = focusedClient();
        if (m_foreground) {
            m_session->watchWindow(*m_foreground);
        }
    }
    if (!m_foreground) {
        return std::nullopt;
    }
    return static_cast<WindowId>(*m_foreground);
}

bool X11Desktop::isOwnWindow(WindowId window) {
    const auto pid = longProperty(*m_session, static_cast<Window>(window), "_NET_WM_PID");
    return !pid.empty() && pid.front() == static_cast<unsigned long>(::getpid());
}

} // namespace quorvane::platform::x11
