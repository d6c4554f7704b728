// The waits that pace a transfer: Delay on the one DelayTimer, CharDelay as a count of fixed-length passes.
#pragma once

#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/Timer.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string_view>

namespace quorvane::engine {

// One CharDelay pass lasts this long on every machine; close to one real pass of the event loop on a current
// PC, so factors tuned against the pass count keep their meaning.
inline constexpr std::chrono::nanoseconds kCharDelayPassLength{2000};
// The window timer's range; also the longest character wait, so no factor can make a wait that outlasts it.
inline constexpr std::int64_t kMaxWaitMilliseconds = 65535;
inline constexpr std::uint64_t kMaxCharDelayPasses =
    std::chrono::nanoseconds(std::chrono::milliseconds(kMaxWaitMilliseconds)) / kCharDelayPassLength;

// The factor read: the leading number of a factor text, rounded to single precision.
float readFactor(std::string_view text);
// Delay's interval: seconds x 1000 x factor, halves to even, clamped to 0..65,535.
std::int64_t delayMilliseconds(float seconds, float multFactor);
// CharDelay's pass count: the whole part of the single-precision product, 0 below 1, capped.
std::uint64_t charDelayPasses(float baseCount, float factor);

class Pacer {
public:
    Pacer(platform::EventPump &pump, platform::Timer &delayTimer, platform::Clock &clock);

    void Delay(float seconds, float multFactor);
    // Delay that runs `step` while it waits, with an event-pump pass after each, until `step` answers false
    // (nothing more to do) or the wait ends; what is left of the work is the caller's.
    void Delay(float seconds, float multFactor, const std::function<bool()> &step);
    void CharDelay(float baseCount, float factor);

    // Runs an event-pump pass when none has run for a while, so that Quit, a closed window or a signal is
    // handled within a few milliseconds even when the factors leave no wait between keystrokes.
    void keepResponsive();

    // Handles events while `held` answers true, until release() or abandon(); no clock bounds it.
    void Hold(const std::function<bool()> &held);
    // Ends the hold under way (the user confirmed a factor box, say).
    void release() { m_released = true; }

    // Ends the wait under way and makes every later wait return at once, until reset().
    void abandon();
    bool abandoned() const { return m_abandoned; }
    void reset();

    bool WaitingForTimer() const { return m_waitingForTimer; }

private:
    void DelayTimer_Timer();
    void pumped() { m_lastPass = m_clock.now(); }

    platform::EventPump &m_pump;
    platform::Timer &m_delayTimer;
    platform::Clock &m_clock;
    bool m_waitingForTimer = false;
    bool m_abandoned = false;
    bool m_released = false;
    platform::Clock::TimePoint m_lastPass{};
};

} // namespace quorvane::engine
