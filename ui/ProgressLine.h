// The one-line progress report of a transfer on a terminal: characters typed, of how many, time left.
#pragma once

#include "platform/Clock.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace quorvane::ui {

class ProgressLine {
public:
    // `unit` names what is counted: "characters typed", or "words confirmed" over the serial line.
    ProgressLine(platform::Clock &clock, std::ostream &out, bool enabled, std::string unit = "characters typed");

    // Redraws the line at most ten times a second, and always for the last character.
    void update(std::uint64_t done, std::uint64_t total);
    // Ends a drawn line, so that what is written next starts on a line of its own.
    void finishLine();

    // "1234 of 5678 characters typed, 0:42 left"; the time is left out until a pace is known.
    static std::string format(std::uint64_t done, std::uint64_t total, std::optional<std::chrono::seconds> left,
                              std::string_view unit = "characters typed");

private:
    std::optional<std::chrono::seconds> timeLeft(std::uint64_t done, std::uint64_t total) const;

    platform::Clock &m_clock;
    std::ostream &m_out;
    bool m_enabled;
    std::string m_unit;
    bool m_lineOpen = false;
    bool m_started = false;
    platform::Clock::TimePoint m_start{};
    std::uint64_t m_doneAtStart = 0;
    platform::Clock::TimePoint m_lastDraw{};
    std::size_t m_lastWidth = 0;
};

} // namespace quorvane::ui
