// Drawing of the progress line with its estimate of the time left.
#include "ui/ProgressLine.h"

#include <algorithm>

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
    const std::size_t columns = m_columns ? m_columns() : 0;
    const std::string text = fit(m_progress.figures(m_unit), m_progress.done(), m_progress.total(), columns);
    // Blanks cover the end of a longer previous line, but never reach the last column.
    const std::size_t cover = columns > 0 ? std::min(m_lastWidth, columns - 1) : m_lastWidth;
    const std::size_t padding = cover > text.size() ? cover - text.size() : 0;
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

std::string ProgressLine::fit(const std::string &figures, std::uint64_t done, std::uint64_t total,
                              std::size_t columns) {
    if (columns == 0) {
        return figures;
    }
    // Text in the last column makes some terminals wrap at once, so one column stays free.
    const std::size_t width = columns - 1;
    const std::string withoutTime = figures.substr(0, figures.find(", "));
    const std::string shorter = std::to_string(done) + "/" + std::to_string(total);
    for (const std::string *text : {&figures, &withoutTime}) {
        if (text->size() <= width) {
            return *text;
        }
    }
    return shorter.substr(0, width);
}

} // namespace quorvane::ui
