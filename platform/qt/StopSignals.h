// Turns the requests to stop or end that arrive from outside (signals; on Windows the console control handler)
// into calls on the user-interface thread, and tells whether the error stream is a terminal.
#pragma once

#include <QObject>

#include <functional>

namespace quorvane::platform {

class StopSignals : public QObject {
public:
    // Installs the handlers; the calls run inside the event loop, once per request. `onInterrupt` answers Ctrl+C
    // (SIGINT); `onEnd` every other request that would otherwise end the program where it stands: SIGTERM,
    // SIGHUP, SIGQUIT, SIGUSR1 and the rest (on Windows Ctrl+Break and the console closing). One instance at a
    // time.
    StopSignals(std::function<void()> onInterrupt, std::function<void()> onEnd, QObject *parent = nullptr);
    ~StopSignals() override;

    bool installed() const { return m_installed; }
    // Run the calls on the calling thread; the handlers reach them through the event loop.
    void deliverInterrupt();
    void deliverEnd();

private:
    std::function<void()> m_onInterrupt;
    std::function<void()> m_onEnd;
    bool m_installed = false;
};

// True when standard error is a terminal (or a console), where a progress line can be redrawn in place.
bool stderrIsTerminal();

} // namespace quorvane::platform
