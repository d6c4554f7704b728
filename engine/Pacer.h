// The waits that pace a transfer: Delay on the one DelayTimer, CharDelay as a count of fixed-length passes.
#pragma once

#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/Timer.h"

#include <chrono>
#include <cstdint>
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
    void CharDelay(float baseCount, float factor);

    // Ends the wait under way and makes every later wait return at once, until reset().
    void abandon();
    bool abandoned() const { return m_abandoned; }
    void reset();

    bool WaitingForTimer() const { return m_waitingForTimer; }

private:
    void DelayTimer_Timer();

    platform::EventPump &m_pump;
    platform::Timer &m_delayTimer;
    platform::Clock &m_clock;
    bool m_waitingForTimer = false;
    bool m_abandoned = false;
};

} // namespace quorvane::engine
