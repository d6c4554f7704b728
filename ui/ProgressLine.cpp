// Drawing of the progress line with its estimate of the time left.
#include "ui/ProgressLine.h"

namespace quorvane::ui {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

} // namespace

ProgressLine::ProgressLine(platform::Clock &clock, std::ostream &out, bool enabled, std::string unit)
    : m_clock(clock), m_out(out), m_enabled(enabled), m_unit(std::move(unit)), m_progress(clock) {}

void ProgressLine::update(std::uint64_t done, std::uint64_t total) {
    if (!m_enabled) {
        return;
    }
    // The first character is drawn at once: from it on the pace, and so the time left, is known.
    const bool firstCharacter = m_progress.done() == 0 && done > 0;
    m_progress.update(done, total);
    const auto now = m_clock.now();
    if (!firstCharacter && m_lineOpen && now - m_lastDraw < kRedrawInterval && done < total) {
        return;
    }
    m_lastDraw = now;
    const std::string text = m_progress.figures(m_unit);
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

} // namespace quorvane::ui
