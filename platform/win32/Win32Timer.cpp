// The tick is the waitable timer's completion routine, which Windows runs only in an alertable wait of the
// thread that started it: Win32EventPump's waits are alertable, so ticks come inside its passes.
#include "platform/win32/Win32Timer.h"

#include <algorithm>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace quorvane::platform::win32 {

namespace {

constexpr long long kMinInterval = 1;
constexpr long long kMaxInterval = 65535;
constexpr LONGLONG kTicksPerMillisecond = 10000; // due times count 100 ns units

} // namespace

Win32Timer::Win32Timer()
    : m_timer(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS)) {
    if (m_timer == nullptr) {
        m_timer = CreateWaitableTimerW(nullptr, FALSE, nullptr);
    }
}

Win32Timer::~Win32Timer() {
    if (m_timer != nullptr) {
        CancelWaitableTimer(m_timer);
        CloseHandle(m_timer);
    }
}

void Win32Timer::start(std::chrono::milliseconds interval, std::function<void()> onTick) {
    if (m_timer == nullptr) {
        return;
    }
    const long long ms = std::clamp<long long>(interval.count(), kMinInterval, kMaxInterval);
    m_onTick = std::move(onTick);
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>(ms) * kTicksPerMillisecond;
    // Setting the timer again cancels the previous period and any tick it had queued.
    SetWaitableTimer(m_timer, &due, 0, &Win32Timer::onTimer, this, FALSE);
}

void Win32Timer::stop() {
    if (m_timer != nullptr) {
        CancelWaitableTimer(m_timer);
    }
    m_onTick = nullptr;
}

void CALLBACK Win32Timer::onTimer(LPVOID self, DWORD, DWORD) {
    auto *timer = static_cast<Win32Timer *>(self);
    // Taken out first: the tick may start the timer again with a new callback.
    std::function<void()> tick = std::move(timer->m_onTick);
    timer->m_onTick = nullptr;
    if (tick) {
        tick();
    }
}

} // namespace quorvane::platform::win32
