// The one-line progress report of a transfer on a terminal: characters typed, of how many, time left.
#pragma once

#include "platform/Clock.h"
#include "ui/TransferProgress.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

namespace quorvane::ui {

class ProgressLine {
public:
    // `unit` names what is counted: "characters typed", or "words confirmed" over the serial line.
    ProgressLine(platform::Clock &clock, std::ostream &out, bool enabled, std::string unit = "characters typed");

    // Redraws the line at most ten times a second, and always for the last character.
    void update(std::uint64_t done, std::uint64_t total);
    // Ends a drawn line, so that what is written next starts on a line of its own.
    void finishLine();
    // The terminal's width in columns, asked at each redraw (0: not known); the line is kept narrower, since a
    // line that wraps can no longer be redrawn in place.
    void setColumns(std::function<std::size_t()> columns) { m_columns = std::move(columns); }

    // The figures shortened to fewer than `columns` characters when that is not 0: without the time left, then as
    // "done/total", then cut.
    static std::string fit(const std::string &figures, std::uint64_t done, std::uint64_t total, std::size_t columns);

private:
    platform::Clock &m_clock;
    std::ostream &m_out;
    bool m_enabled;
    std::string m_unit;
    TransferProgress m_progress;
    std::function<std::size_t()> m_columns;
    bool m_lineOpen = false;
    platform::Clock::TimePoint m_lastDraw{};
    std::size_t m_lastWidth = 0;
};

} // namespace quorvane::ui
