// A private X server for tests: Xvfb on a display of its own, optionally openbox, and keyboard-layout control.
#pragma once

#include "tests/support/ChildProcess.h"

#include <X11/Xlib.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::test {

struct XSessionOptions {
    bool windowManager = false; // openbox with no key or mouse bindings
    std::string layout = "us";  // setxkbmap layouts, comma separated
};

class XSession {
public:
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;
    ~XSession();

    // Starts everything and waits until it is ready; nothing on failure, with one line in `error`.
    static std::unique_ptr<XSession> start(const XSessionOptions &options, std::string &error);

    std::string displayName() const { return std::string(":").append(std::to_string(m_displayNumber)); }
    // "DISPLAY=:n" and the other variables that programs started on this display need.
    std::vector<std::string> environment() const;
    // A connection of the session's own, for checks and layout control.
    Display *display() const { return m_display; }
    // A private directory, removed with the session.
    const std::string &tempDir() const { return m_tempDir; }
    bool hasWindowManager() const { return m_windowManager.has_value(); }
    // The processes the session started (-1 for none), so that a test can check they are gone.
    std::vector<pid_t> processes() const;

    bool setLayout(const std::string &layouts);
    // 0 is the first group of the layout list.
    bool lockGroup(int group);
    bool setCapsLock(bool on);
    bool capsLockOn() const;
    int activeGroup() const;

private:
    XSession() = default;
    bool startServer(std::string &error);
    bool startWindowManager(std::string &error);
    bool windowManagerReady() const;
    bool windowManagerMaps() const;

    std::string m_tempDir;
    int m_displayNumber = -1;
    std::optional<ChildProcess> m_server;
    std::optional<ChildProcess> m_windowManager;
    Display *m_display = nullptr;
};

} // namespace quorvane::test
