// A one-shot timer on the manual clock; the fake event pump fires it when its deadline is reached.
#pragma once

#include "platform/Timer.h"
#include "platform/fake/ManualClock.h"
#include "platform/fake/Transcript.h"

#include <optional>

namespace quorvane::platform {

class FakeTimer : public Timer {
public:
    explicit FakeTimer(ManualClock &clock, Transcript *transcript = nullptr);

    // Records "delay <ms>ms".
    void start(std::chrono::milliseconds interval, std::function<void()> onTick) override;
    void stop() override;

    std::optional<Clock::TimePoint> deadline() const;
    // Runs the tick once; the timer is off before the handler runs, as a single-shot timer is.
    void fire();
    int starts() const { return m_starts; }

private:
    ManualClock &m_clock;
    Transcript *m_transcript;
    std::function<void()> m_onTick;
    std::optional<Clock::TimePoint> m_deadline;
    int m_starts = 0;
};

} // namespace quorvane::platform
