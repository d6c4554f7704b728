// The X11 backend opened on a test session's display, with the synthesiser that drives it.
#pragma once

#include "keys/KeySequenceTyper.h"
#include "platform/x11/X11Backend.h"
#include "tests/support/XSession.h"

#include <memory>
#include <string>

namespace quorvane::test {

struct X11TestBackend {
    platform::DesktopBackend backend;
    std::unique_ptr<keys::KeySequenceTyper> sendKeys;

    // Opens the backend on `session`'s display; empty members and `error` set on failure.
    static X11TestBackend open(XSession &session, std::string &error);
    explicit operator bool() const { return backend.desktop && backend.layout && backend.injector && sendKeys; }
    // Types `text` (UTF-8) one character per SendKeySequence, each as the text transfer maps it (grammar
    // characters braced, control characters as their keys); then ends the transfer.
    void typeText(const std::string &text);
};

} // namespace quorvane::test
