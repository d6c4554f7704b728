// Turns the console's stop requests (SIGINT and SIGTERM; on Windows the console control handler) into a
// call on the user-interface thread, and tells whether the error stream is a terminal.
#pragma once

#include <QObject>

#include <functional>

namespace quorvane::platform {

class StopSignals : public QObject {
public:
    // Installs the handlers; `onStop` runs inside the event loop, once per request. One instance at a time.
    explicit StopSignals(std::function<void()> onStop, QObject *parent = nullptr);
    ~StopSignals() override;

    bool installed() const { return m_installed; }
    // Runs the stop on the calling thread; the handlers reach it through the event loop.
    void deliver();

private:
    std::function<void()> m_onStop;
    bool m_installed = false;
};

// True when standard error is a terminal (or a console), where a progress line can be redrawn in place.
bool stderrIsTerminal();

} // namespace quorvane::platform
