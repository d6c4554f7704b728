// The fake one-shot timer.
#include "platform/fake/FakeTimer.h"

#include <string>
#include <utility>

namespace quorvane::platform {

FakeTimer::FakeTimer(ManualClock &clock, Transcript *transcript) : m_clock(clock), m_transcript(transcript) {}

void FakeTimer::start(std::chrono::milliseconds interval, std::function<void()> onTick) {
    ++m_starts;
    m_onTick = std::move(onTick);
    m_deadline = m_clock.now() + interval;
    if (m_transcript != nullptr) {
        m_transcript->add("delay " + std::to_string(interval.count()) + "ms");
    }
}

void FakeTimer::stop() { m_deadline.reset(); }

std::optional<Clock::TimePoint> FakeTimer::deadline() const { return m_deadline; }

void FakeTimer::fire() {
    m_deadline.reset();
    if (m_onTick) {
        m_onTick();
    }
}

} // namespace quorvane::platform
