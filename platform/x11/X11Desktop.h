// The desktop's top-level windows on X11: the walk in stacking order, activation, and the focus from events.
#pragma once

#include "platform/Desktop.h"
#include "platform/x11/X11Session.h"

#include <chrono>
#include <memory>

namespace quorvane::platform::x11 {

class X11Desktop : public Desktop {
public:
    explicit X11Desktop(std::shared_ptr<X11Session> session) : m_session(std::move(session)) {}

    std::vector<TopLevelWindow> topLevelWindows() override;
    bool activate(WindowId window) override;
    // Answers from a value kept current by focus and _NET_ACTIVE_WINDOW events: a round trip only after a change.
    std::optional<WindowId> foregroundWindow() override;
    // By _NET_WM_PID, which Qt and every current toolkit set on their top-level windows.
    bool isOwnWindow(WindowId window) override;

    static constexpr std::chrono::milliseconds kActivationDeadline{500};

private:
    std::vector<Window> stackingOrder();
    std::optional<Window> focusedClient();
    void requestActivation(Window window);

    std::shared_ptr<X11Session> m_session;
    std::optional<Window> m_foreground;
};

} // namespace quorvane::platform::x11
