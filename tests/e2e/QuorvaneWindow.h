// The real quorvane window on a test session, driven as a user would: mouse clicks and keys through xdotool.
#pragma once

#include "tests/support/XSession.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace quorvane::test {

class QuorvaneWindow {
public:
    // Starts quorvane with `folder` stored as its default folder, so that its browser opens there.
    static std::unique_ptr<QuorvaneWindow> start(XSession &session, const std::string &folder, std::string &error);
    ~QuorvaneWindow();

    // Clicks the control with this object name (buttons, option buttons, the check box).
    bool click(const std::string &control);
    // Selects a file of the list by typing its name, as a user does with the keyboard.
    bool selectFile(const std::string &name);
    // Replaces the text of a text box.
    bool setText(const std::string &control, const std::string &text);
    // The text of a text box, read through the selection that selecting all of it makes.
    std::optional<std::string> text(const std::string &control);
    // Presses keys (xdotool's names, "Return", "ctrl+a") into the window that has the focus.
    bool key(const std::string &keys);
    // Viewable windows of the program: 1 is the main window alone, more means a message box is open.
    int windowCount() const;
    bool running() { return m_process.running(); }
    Window window() const { return m_window; }

private:
    QuorvaneWindow(XSession &session, ChildProcess process, Window window)
        : m_session(session), m_process(std::move(process)), m_window(window) {}
    bool xdotool(const std::vector<std::string> &arguments);
    bool focus();

    XSession &m_session;
    ChildProcess m_process;
    Window m_window = 0;
};

} // namespace quorvane::test
