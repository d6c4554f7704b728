// The figures of a running transfer and the estimate of the time left.
#include "ui/TransferProgress.h"

#include <cstdio>

namespace quorvane::ui {
namespace {

std::string minutesAndSeconds(std::chrono::seconds left) {
    const long long total = left.count();
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    return text;
}

} // namespace

TransferProgress::TransferProgress(platform::Clock &clock) : m_clock(clock) { begin(); }

void TransferProgress::begin() {
    m_begin = m_clock.now();
    m_paced = false;
    m_done = 0;
    m_total = 0;
}

void TransferProgress::update(std::uint64_t done, std::uint64_t total) {
    if (!m_paced && done > 0) {
        // The pace is measured from the first character typed, so the wait before it is not counted.
        m_paced = true;
        m_paceStart = m_clock.now();
        m_doneAtPaceStart = done;
    }
    m_done = done;
    m_total = total;
}

int TransferProgress::percent() const {
    if (m_total == 0 || m_done >= m_total) {
        return m_total == 0 ? 0 : 100;
    }
    return static_cast<int>(m_done * 100 / m_total);
}

std::optional<std::chrono::seconds> TransferProgress::timeLeft() const {
    const auto paced = m_clock.now() - m_paceStart;
    if (!m_paced || m_done <= m_doneAtPaceStart || paced <= std::chrono::steady_clock::duration::zero() ||
        m_done > m_total) {
        return std::nullopt;
    }
    const double perCharacter = std::chrono::duration<double>(paced).count() / double(m_done - m_doneAtPaceStart);
    return std::chrono::seconds(static_cast<long long>(perCharacter * double(m_total - m_done) + 0.5));
}

std::chrono::steady_clock::duration TransferProgress::elapsed() const { return m_clock.now() - m_begin; }

std::string TransferProgress::figures(std::string_view unit) const {
    return figures(m_done, m_total, timeLeft(), unit);
}

std::string TransferProgress::figures(std::uint64_t done, std::uint64_t total, std::optional<std::chrono::seconds> left,
                                      std::string_view unit) {
    std::string text = groupedNumber(done) + " of " + groupedNumber(total) + " " + std::string(unit);
    if (left) {
        text += ", " + minutesAndSeconds(*left) + " left";
    }
    return text;
}

std::string groupedNumber(std::uint64_t number) {
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped;
}

} // namespace quorvane::ui
