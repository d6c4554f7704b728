// The fake event pump: scripted events and the fake timer's tick, on a clock that jumps.
#include "platform/fake/FakeEventPump.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>

namespace quorvane::platform {

FakeEventPump::FakeEventPump(ManualClock &clock, FakeTimer &timer, Transcript *transcript)
    : m_clock(clock), m_timer(timer), m_transcript(transcript) {}

void FakeEventPump::at(std::chrono::nanoseconds when, std::function<void()> action) {
    m_events.push_back({Clock::TimePoint{} + when, m_order++, std::move(action)});
}

void FakeEventPump::atPass(std::size_t pass, std::function<void()> action) {
    m_passActions.emplace_back(pass, std::move(action));
}

bool FakeEventPump::nextEventTime(Clock::TimePoint &when) const {
    bool any = false;
    for (const Scheduled &event : m_events) {
        if (!any || event.when < when) {
            when = event.when;
            any = true;
        }
    }
    if (const auto tick = m_timer.deadline(); tick && (!any || *tick < when)) {
        when = *tick;
        any = true;
    }
    return any;
}

// Handles everything due now, scripted events first (in time, then insertion order), then the tick.
void FakeEventPump::handleDue() {
    for (;;) {
        auto due = m_events.end();
        for (auto it = m_events.begin(); it != m_events.end(); ++it) {
            if (it->when <= m_clock.now() &&
                (due == m_events.end() || std::tie(it->when, it->order) < std::tie(due->when, due->order))) {
                due = it;
            }
        }
        if (due == m_events.end()) {
            break;
        }
        const std::function<void()> action = std::move(due->action);
        m_events.erase(due);
        action();
    }
    if (const auto tick = m_timer.deadline(); tick && *tick <= m_clock.now()) {
        m_timer.fire();
    }
}

void FakeEventPump::processPendingEvents() {
    ++m_passes;
    if (m_transcript != nullptr) {
        m_transcript->add("pass");
    }
    for (auto it = m_passActions.begin(); it != m_passActions.end();) {
        if (it->first == m_passes) {
            const std::function<void()> action = std::move(it->second);
            it = m_passActions.erase(it);
            action();
        } else {
            ++it;
        }
    }
    handleDue();
}

void FakeEventPump::waitForEvents() {
    Clock::TimePoint next;
    if (!nextEventTime(next)) {
        std::fputs("FakeEventPump: waitForEvents() with no timer and no scripted event would block forever\n", stderr);
        std::abort();
    }
    m_clock.advanceTo(next);
    handleDue();
}

void FakeEventPump::processEventsUntil(Clock::TimePoint deadline) {
    recordWait(m_clock.now(), deadline);
    Clock::TimePoint next;
    while (nextEventTime(next) && next <= deadline) {
        m_clock.advanceTo(next);
        handleDue();
    }
    m_clock.advanceTo(deadline);
}

void FakeEventPump::recordWait(Clock::TimePoint start, Clock::TimePoint deadline) {
    if (m_transcript == nullptr || deadline <= start) {
        return;
    }
    auto &entries = m_transcript->entries();
    const bool continues = !entries.empty() && m_lastWaitEntry == entries.size() - 1 && start == m_lastWaitEnd;
    m_lastWaitLength = (continues ? m_lastWaitLength : std::chrono::nanoseconds{}) + (deadline - start);
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(m_lastWaitLength).count();
    const std::string entry = "wait " + std::to_string(micros) + "us";
    if (continues) {
        entries.back() = entry;
    } else {
        entries.push_back(entry);
        m_lastWaitEntry = entries.size() - 1;
    }
    m_lastWaitEnd = deadline;
}

} // namespace quorvane::platform
