// How far a transfer has come, in the figures that every face shows: the window's progress line and title,
// and the command line's progress line.
#pragma once

#include "platform/Clock.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::ui {

class TransferProgress {
public:
    explicit TransferProgress(platform::Clock &clock);

    // A new transfer: the figures and the pace start again.
    void begin();
    // The engine's report: characters of the file done so far, of how many.
    void update(std::uint64_t done, std::uint64_t total);

    std::uint64_t done() const { return m_done; }
    std::uint64_t total() const { return m_total; }
    // 0 to 100, rounded down, so that 100 means the whole file.
    int percent() const;
    // At the pace since the first character; unknown until that pace can be measured.
    std::optional<std::chrono::seconds> timeLeft() const;
    // From begin() to now.
    std::chrono::steady_clock::duration elapsed() const;

    // "1,234 of 5,678 characters typed, 0:42 left"; `unit` names what is counted.
    std::string figures(std::string_view unit = "characters typed") const;
    static std::string figures(std::uint64_t done, std::uint64_t total, std::optional<std::chrono::seconds> left,
                               std::string_view unit = "characters typed");

private:
    platform::Clock &m_clock;
    platform::Clock::TimePoint m_begin{};
    bool m_paced = false;
    platform::Clock::TimePoint m_paceStart{};
    std::uint64_t m_doneAtPaceStart = 0;
    std::uint64_t m_done = 0;
    std::uint64_t m_total = 0;
};

// 1234567 as "1,234,567".
std::string groupedNumber(std::uint64_t number);

} // namespace quorvane::ui
