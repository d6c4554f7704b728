// Message pump with alertable waits; long waits sleep on a waitable timer, the last stretch is watched closely.
#include "platform/win32/Win32EventPump.h"

#include <chrono>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace quorvane::platform::win32 {

namespace {

using std::chrono::steady_clock;

// Even a high-resolution waitable timer may fire up to about a millisecond late, and an ordinary one a
// whole scheduler tick late; the timer wakes us this early and the rest is spent yielding.
constexpr auto kHighResolutionMargin = std::chrono::microseconds(1500);
constexpr auto kCoarseMargin = std::chrono::milliseconds(16);

} // namespace

Win32EventPump::Win32EventPump()
    : m_wakeTimer(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS)),
      m_highResolution(m_wakeTimer != nullptr) {
    if (m_wakeTimer == nullptr) {
        m_wakeTimer = CreateWaitableTimerW(nullptr, FALSE, nullptr);
    }
}

Win32EventPump::~Win32EventPump() {
    if (m_wakeTimer != nullptr) {
        CloseHandle(m_wakeTimer);
    }
}

void Win32EventPump::dispatchQueued() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            m_quitRequested = true;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Win32EventPump::processPendingEvents() {
    // A zero-timeout alertable wait runs the timer ticks that are due.
    MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
    dispatchQueued();
}

void Win32EventPump::waitForEvents() {
    MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
    dispatchQueued();
}

void Win32EventPump::processEventsUntil(Clock::TimePoint deadline) {
    const auto margin = m_highResolution ? kHighResolutionMargin : kCoarseMargin;
    for (;;) {
        processPendingEvents();
        const auto remaining = deadline - steady_clock::now();
        if (remaining <= steady_clock::duration::zero()) {
            return;
        }
        if (remaining > margin && m_wakeTimer != nullptr) {
            const auto sleep = std::chrono::duration_cast<std::chrono::nanoseconds>(remaining - margin);
            LARGE_INTEGER due;
            due.QuadPart = -static_cast<LONGLONG>(sleep.count() / 100); // relative, in 100 ns units
            SetWaitableTimer(m_wakeTimer, &due, 0, nullptr, nullptr, FALSE);
            MsgWaitForMultipleObjectsEx(1, &m_wakeTimer, INFINITE, QS_ALLINPUT, MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
            CancelWaitableTimer(m_wakeTimer);
        } else {
            SwitchToThread();
        }
    }
}

} // namespace quorvane::platform::win32
