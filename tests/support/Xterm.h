// An xterm on a test session, running a given program, with the resources that make its bytes predictable.
#pragma once

#include "tests/support/CaptureFile.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/XSession.h"

#include <X11/Xlib.h>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace quorvane::test {

struct XtermOptions {
    std::string title = "COM1 - Tera Term VT";
    std::vector<std::string> command;         // the program run inside
    std::string readyFile;                    // created by the program once its terminal is raw
    std::vector<std::string> resources;       // more "-xrm" lines
    std::chrono::milliseconds timeout{15000}; // until the window is viewable and the program ready
};

class Xterm {
public:
    // Starts xterm and waits until its window is viewable and the program inside has signalled readiness.
    static std::unique_ptr<Xterm> start(XSession &session, const XtermOptions &options, std::string &error);
    ~Xterm();

    Window window() const { return m_window; }
    pid_t pid() const { return m_process.pid(); }
    bool running() { return m_process.running(); }
    void stop() { m_process.stop(); }

private:
    Xterm(ChildProcess process, Window window) : m_process(std::move(process)), m_window(window) {}

    ChildProcess m_process;
    Window m_window = 0;
};

// An xterm running ttycapture: every byte the terminal sends arrives in a file that the test reads back.
class CaptureTerminal {
public:
    static std::unique_ptr<CaptureTerminal> start(XSession &session, const std::string &title, std::string &error);

    Window window() const { return m_xterm->window(); }
    Xterm &xterm() { return *m_xterm; }
    std::string take(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        return m_capture->take(count, timeout);
    }
    std::string everything() const { return m_capture->everything(); }
    CaptureFile &capture() { return *m_capture; }
    const std::string &capturePath() const { return m_capture->path(); }

private:
    CaptureTerminal() = default;

    std::unique_ptr<CaptureFile> m_capture;
    std::unique_ptr<Xterm> m_xterm;
};

} // namespace quorvane::test
