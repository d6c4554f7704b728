// A private headless sway for tests, started as an unprivileged user when the test runs as root (sway refuses root).
#pragma once

#include "tests/support/CaptureFile.h"
#include "tests/support/ChildProcess.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::test {

class SwaySession {
public:
    SwaySession(const SwaySession &) = delete;
    SwaySession &operator=(const SwaySession &) = delete;
    ~SwaySession();

    // The single output's size in pixels.
    static constexpr int kOutputWidth = 1280;
    static constexpr int kOutputHeight = 800;

    // Starts sway and waits until its socket accepts clients; nothing on failure, with one line in `error`.
    static std::unique_ptr<SwaySession> start(std::string &error);

    // "XDG_RUNTIME_DIR=..." and "WAYLAND_DISPLAY=...": what a client of this compositor needs.
    std::vector<std::string> environment() const;
    // Sets those variables in this process too, for a backend opened by the test itself.
    void enter() const;
    const std::string &runtimeDir() const { return m_runtimeDir; }
    // A private directory for the tests' own files, removed with the session.
    const std::string &tempDir() const { return m_tempDir; }
    pid_t pid() const { return m_compositor ? m_compositor->pid() : -1; }
    // From starting sway to its socket accepting a client.
    std::chrono::milliseconds startupTime() const { return m_startupTime; }
    // Runs `swaymsg` with these arguments against this compositor; its exit status.
    std::optional<int> swaymsg(const std::vector<std::string> &arguments) const;
    // What `swaymsg -r -t TYPE` prints (JSON), nothing when it fails.
    std::optional<std::string> query(const std::string &type) const;

private:
    SwaySession() = default;
    bool startCompositor(std::string &error);
    std::vector<std::string> swaymsgCommand() const;

    std::string m_tempDir;
    std::string m_runtimeDir;
    std::string m_socket;
    std::optional<ChildProcess> m_compositor;
    std::chrono::milliseconds m_startupTime{0};
};

// A foot terminal on a sway session, running a given program.
class FootTerminal {
public:
    // Starts foot titled `title` running `command`, and waits until `readyFile` exists (if given).
    static std::unique_ptr<FootTerminal> start(SwaySession &session, const std::string &title,
                                               const std::vector<std::string> &command, const std::string &readyFile,
                                               std::string &error);
    ~FootTerminal() { m_process.stop(); }

    pid_t pid() const { return m_process.pid(); }
    bool running() { return m_process.running(); }
    void stop() { m_process.stop(); }

private:
    explicit FootTerminal(ChildProcess process) : m_process(std::move(process)) {}

    ChildProcess m_process;
};

// A foot terminal running ttycapture: every byte the terminal sends arrives in `capture`.
struct FootCapture {
    static std::unique_ptr<FootCapture> start(SwaySession &session, const std::string &title, std::string &error);

    std::unique_ptr<FootTerminal> terminal;
    CaptureFile capture{""};
};

} // namespace quorvane::test
