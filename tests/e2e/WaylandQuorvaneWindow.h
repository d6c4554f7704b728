// The real quorvane window on a headless sway, driven as a user would: clicks through a virtual pointer, and
// names typed through a virtual keyboard.
#pragma once

#include "tests/support/SwaySession.h"
#include "tests/wayland/SwayPointer.h"
#include "tests/wayland/WaylandTestBackend.h"

#include <memory>
#include <optional>
#include <string>

namespace quorvane::test {

class WaylandQuorvaneWindow {
public:
    // Starts quorvane with `folder` stored as its default folder; `keyboard` types into whichever window is active.
    static std::unique_ptr<WaylandQuorvaneWindow> start(SwaySession &session, WaylandTestBackend &keyboard,
                                                        const std::string &folder, std::string &error);
    ~WaylandQuorvaneWindow() { m_process.stop(); }

    // Clicks the control with this object name (see WindowSpots).
    bool click(const std::string &control);
    // Selects a file of the list by typing its name, as a user does with the keyboard.
    bool selectFile(const std::string &name);

private:
    struct Geometry {
        int x = 0;
        int y = 0;
        int width = 0;
    };
    WaylandQuorvaneWindow(SwaySession &session, WaylandTestBackend &keyboard, std::unique_ptr<SwayPointer> pointer,
                          ChildProcess process)
        : m_session(session), m_keyboard(keyboard), m_pointer(std::move(pointer)), m_process(std::move(process)) {}
    std::optional<Geometry> geometry() const;

    SwaySession &m_session;
    WaylandTestBackend &m_keyboard;
    std::unique_ptr<SwayPointer> m_pointer;
    ChildProcess m_process;
};

} // namespace quorvane::test
