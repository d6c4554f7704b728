// An event pump on the manual clock: a wait jumps straight to the next timer tick or scripted event.
#pragma once

#include "platform/EventPump.h"
#include "platform/fake/FakeTimer.h"
#include "platform/fake/ManualClock.h"
#include "platform/fake/Transcript.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace quorvane::platform {

class FakeEventPump : public EventPump {
public:
    FakeEventPump(ManualClock &clock, FakeTimer &timer, Transcript *transcript = nullptr);

    // Runs `action` inside the first pass or wait that reaches `when` (time since the clock's start).
    // Actions scheduled for the same time run in the order they were added.
    void at(std::chrono::nanoseconds when, std::function<void()> action);
    // Runs `action` inside the n-th call of processPendingEvents (counted from 1).
    void atPass(std::size_t pass, std::function<void()> action);

    // Records "pass".
    void processPendingEvents() override;
    // Jumps to the next tick or event and handles it. Aborts when nothing could ever arrive, which in the
    // real program would block forever.
    void waitForEvents() override;
    // Records "wait <microseconds>us"; a wait that continues the previous one without anything in between
    // extends its entry, so a wait cut into slices reads as one.
    void processEventsUntil(Clock::TimePoint deadline) override;

    std::size_t passes() const { return m_passes; }
    std::size_t pendingActions() const { return m_events.size(); }

private:
    struct Scheduled {
        Clock::TimePoint when;
        std::size_t order;
        std::function<void()> action;
    };

    void handleDue();
    bool nextEventTime(Clock::TimePoint &when) const;
    void recordWait(Clock::TimePoint start, Clock::TimePoint deadline);

    ManualClock &m_clock;
    FakeTimer &m_timer;
    Transcript *m_transcript;
    std::vector<Scheduled> m_events;
    std::vector<std::pair<std::size_t, std::function<void()>>> m_passActions;
    std::size_t m_order = 0;
    std::size_t m_passes = 0;
    std::size_t m_lastWaitEntry = static_cast<std::size_t>(-1);
    Clock::TimePoint m_lastWaitEnd{};
    std::chrono::nanoseconds m_lastWaitLength{};
};

} // namespace quorvane::platform
