// The desktop's top-level windows on a wlroots compositor, through foreign-toplevel management.
#pragma once

#include "platform/Desktop.h"
#include "platform/wayland/WaylandSession.h"

#include <chrono>
#include <memory>

namespace quorvane::platform::wayland {

class WaylandDesktop : public Desktop {
public:
    explicit WaylandDesktop(std::shared_ptr<WaylandSession> session) : m_session(std::move(session)) {}

    // The compositor publishes no stacking order: the active window counts as topmost, then the others by how
    // recently this program saw them active, then those never seen active, newest first.
    std::vector<TopLevelWindow> topLevelWindows() override;
    // Asks for the activation and waits until the compositor reports the window active.
    bool activate(WindowId window) override;
    // The window reported active, from the events that have arrived: no round trip.
    std::optional<WindowId> foregroundWindow() override;
    // By the application id, which the compositor takes from the window and no other program has reason to use;
    // the protocol names no process.
    bool isOwnWindow(WindowId window) override;

    static constexpr std::chrono::milliseconds kActivationDeadline{500};

private:
    std::shared_ptr<WaylandSession> m_session;
};

} // namespace quorvane::platform::wayland
