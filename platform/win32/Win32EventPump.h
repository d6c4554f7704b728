// The Win32 message loop of the user-interface thread, run from inside a transfer's waits.
#pragma once

#include "platform/EventPump.h"

#include <windows.h>

namespace quorvane::platform::win32 {

class Win32EventPump : public EventPump {
public:
    Win32EventPump();
    ~Win32EventPump() override;
    Win32EventPump(const Win32EventPump &) = delete;
    Win32EventPump &operator=(const Win32EventPump &) = delete;

    // Also runs the ticks of Win32Timer, which arrive as completion routines of alertable waits.
    void processPendingEvents() override;
    void waitForEvents() override;
    void processEventsUntil(Clock::TimePoint deadline) override;

    // True once WM_QUIT has been taken from the queue; the pump leaves the quit to its caller.
    bool quitRequested() const { return m_quitRequested; }

private:
    void dispatchQueued();

    HANDLE m_wakeTimer; // high-resolution waitable timer where the system has one
    bool m_highResolution;
    bool m_quitRequested = false;
};

} // namespace quorvane::platform::win32
