// Drawing of the progress line with its estimate of the time left.
#include "ui/ProgressLine.h"

#include <cstdio>

namespace quorvane::ui {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

std::string minutesAndSeconds(std::chrono::seconds left) {
    const long long total = left.count();
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    return text;
}

} // namespace

ProgressLine::ProgressLine(platform::Clock &clock, std::ostream &out, bool enabled, std::string unit)
    : m_clock(clock), m_out(out), m_enabled(enabled), m_unit(std::move(unit)) {}

void ProgressLine::update(std::uint64_t done, std::uint64_t total) {
    if (!m_enabled) {
        return;
    }
    const auto now = m_clock.now();
    if (!m_started && done > 0) {
        // The pace is measured from the first character typed, so the wait before it is not counted.
        m_started = true;
        m_start = now;
        m_doneAtStart = done;
    } else if (m_lineOpen && now - m_lastDraw < kRedrawInterval && done < total) {
        return;
    }
    m_lastDraw = now;
    const std::string text = format(done, total, timeLeft(done, total), m_unit);
    // Blanks cover the end of a longer previous line.
    const std::size_t padding = m_lastWidth > text.size() ? m_lastWidth - text.size() : 0;
    m_out << '\r' << text << std::string(padding, ' ') << std::flush;
    m_lastWidth = text.size();
    m_lineOpen = true;
}

void ProgressLine::finishLine() {
    if (!m_lineOpen) {
        return;
    }
    m_out << '\n' << std::flush;
    m_lineOpen = false;
    m_lastWidth = 0;
}

std::optional<std::chrono::seconds> ProgressLine::timeLeft(std::uint64_t done, std::uint64_t total) const {
    const auto elapsed = m_clock.now() - m_start;
    if (!m_started || done <= m_doneAtStart || elapsed <= std::chrono::steady_clock::duration::zero() || done > total) {
        return std::nullopt;
    }
    const double perCharacter = std::chrono::duration<double>(elapsed).count() / double(done - m_doneAtStart);
    return std::chrono::seconds(static_cast<long long>(perCharacter * double(total - done) + 0.5));
}

std::string ProgressLine::format(std::uint64_t done, std::uint64_t total, std::optional<std::chrono::seconds> left,
                                 std::string_view unit) {
    std::string text = std::to_string(done) + " of " + std::to_string(total) + " " + std::string(unit);
    if (left) {
        text += ", " + minutesAndSeconds(*left) + " left";
    }
    return text;
}

} // namespace quorvane::ui
