// The waits that pace a transfer, and the factor read that scales them.
#include "engine/Pacer.h"

#include "keys/LeadingNumber.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvane::engine {

namespace {

// A character wait hands control back this often so that abandon() is noticed while it runs; the pump has no
// other way to be interrupted.
constexpr auto kAbandonCheckInterval = std::chrono::milliseconds(20);
// Requests to end must take effect within 50 ms; a pass costs tens of microseconds, so one every 10 ms of
// typing costs well under one per cent of the factors-0 speed.
constexpr auto kLongestTimeWithoutPass = std::chrono::milliseconds(10);
constexpr auto kHoldPollInterval = std::chrono::milliseconds(20);

} // namespace

float readFactor(std::string_view text) {
    const double value = keys::leadingNumber(text);
    // Clamp before narrowing: a double beyond float's range would otherwise become an infinity.
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    if (std::isnan(value)) {
        return 0.0f;
    }
    return static_cast<float>(std::clamp(value, -kFloatMax, kFloatMax));
}

std::int64_t delayMilliseconds(float seconds, float multFactor) {
    const double exact = static_cast<double>(seconds) * 1000.0 * static_cast<double>(multFactor);
    if (!(exact > 0.0)) {
        return 0; // negative or not a number
    }
    const double capped = std::min(exact, static_cast<double>(kMaxWaitMilliseconds));
    // nearbyint follows the default rounding mode, round half to even.
    return static_cast<std::int64_t>(std::nearbyint(capped));
}

std::uint64_t charDelayPasses(float baseCount, float factor) {
    const double exact = static_cast<double>(baseCount) * static_cast<double>(factor);
    if (!(exact >= 1.0)) {
        return 0;
    }
    const double capped = std::min(exact, static_cast<double>(kMaxCharDelayPasses));
    const float product = static_cast<float>(capped);
    return std::min(static_cast<std::uint64_t>(product), kMaxCharDelayPasses);
}

Pacer::Pacer(platform::EventPump &pump, platform::Timer &delayTimer, platform::Clock &clock)
    : m_pump(pump), m_delayTimer(delayTimer), m_clock(clock) {}

void Pacer::Delay(float seconds, float multFactor) { Delay(seconds, multFactor, {}); }

void Pacer::Delay(float seconds, float multFactor, const std::function<bool()> &step) {
    if (m_abandoned) {
        return;
    }
    const std::int64_t interval = delayMilliseconds(seconds, multFactor);
    if (interval == 0) {
        m_pump.processPendingEvents();
        pumped();
        return;
    }
    m_waitingForTimer = true;
    m_delayTimer.start(std::chrono::milliseconds(interval), [this] { DelayTimer_Timer(); });
    bool working = static_cast<bool>(step);
    while (m_waitingForTimer && !m_abandoned) {
        working = working && step();
        if (working) {
            m_pump.processPendingEvents();
        } else {
            m_pump.waitForEvents();
        }
    }
    if (m_waitingForTimer) {
        m_delayTimer.stop();
        m_waitingForTimer = false;
    }
    pumped();
}

void Pacer::DelayTimer_Timer() {
    m_waitingForTimer = false;
    m_delayTimer.stop();
}

void Pacer::CharDelay(float baseCount, float factor) {
    const std::uint64_t passes = charDelayPasses(baseCount, factor);
    if (passes == 0 || m_abandoned) {
        return;
    }
    const auto deadline = m_clock.now() + static_cast<std::int64_t>(passes) * kCharDelayPassLength;
    for (auto now = m_clock.now(); now < deadline && !m_abandoned; now = m_clock.now()) {
        m_pump.processEventsUntil(std::min(deadline, now + kAbandonCheckInterval));
    }
    pumped();
}

void Pacer::keepResponsive() {
    if (m_clock.now() - m_lastPass >= kLongestTimeWithoutPass) {
        m_pump.processPendingEvents();
        pumped();
    }
}

// The condition is polled: a focus change elsewhere on the desktop sends this program no event of its own.
void Pacer::Hold(const std::function<bool()> &held) {
    m_released = false;
    while (!m_abandoned && !m_released && held()) {
        m_pump.processEventsUntil(m_clock.now() + kHoldPollInterval);
    }
    m_released = false;
    pumped();
}

void Pacer::abandon() { m_abandoned = true; }

void Pacer::reset() {
    m_abandoned = false;
    pumped();
}

} // namespace quorvane::engine
