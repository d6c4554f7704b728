// The Wayland backend opened on a test compositor, with the synthesiser that drives it.
#pragma once

#include "keys/KeySequenceTyper.h"
#include "platform/DesktopBackend.h"
#include "tests/support/SwaySession.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace quorvane::test {

struct WaylandTestBackend {
    platform::DesktopBackend backend;
    std::unique_ptr<keys::KeySequenceTyper> sendKeys;

    // Opens the backend on `session`; empty members and `error` set on failure.
    static WaylandTestBackend open(SwaySession &session, std::string &error);
    explicit operator bool() const { return backend.desktop && backend.layout && backend.injector && sendKeys; }
    // The window whose title is `title`, once the compositor has announced it (up to `timeout`).
    std::optional<platform::WindowId> windowTitled(const std::string &title,
                                                   std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Types `text` (UTF-8) one character per SendKeySequence, as the text transfer does; then ends the transfer.
    void typeText(const std::string &text);
};

} // namespace quorvane::test
