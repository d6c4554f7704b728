// A one-shot timer on a waitable timer whose tick runs on the owning thread, inside an event-pump pass.
#pragma once

#include "platform/Timer.h"

#include <windows.h>

namespace quorvane::platform::win32 {

class Win32Timer : public Timer {
public:
    Win32Timer();
    ~Win32Timer() override;
    Win32Timer(const Win32Timer &) = delete;
    Win32Timer &operator=(const Win32Timer &) = delete;

    void start(std::chrono::milliseconds interval, std::function<void()> onTick) override;
    void stop() override;

private:
    static void CALLBACK onTimer(LPVOID self, DWORD, DWORD);

    HANDLE m_timer;
    std::function<void()> m_onTick;
};

} // namespace quorvane::platform::win32
