// Serial-line timing around the monitor: line rate, a one-character receive register, handling time, delay.
#include "Board.h"

#include <algorithm>

namespace quorvane::boardsim {

namespace {

constexpr Micros kMicrosPerSecond = 1'000'000;
constexpr Micros kBitsPerCharacter = 10; // start bit, 8 data bits, stop bit

} // namespace

Board::Board(const BoardConfig &config)
    : m_monitor(m_memory, config.monitor),
      m_lineTime(config.baud == 0 ? 0 : kBitsPerCharacter * kMicrosPerSecond / config.baud),
      m_charTime(config.charTime), m_busyTime(config.busyTime) {}

void Board::start() { m_monitor.start(m_output); }

// The terminal queues what is typed and sends it no faster than the line's rate.
void Board::receive(std::uint8_t byte, Micros now) {
    ++m_stats.received;
    Micros arrival = std::max(now, m_lineFreeAt);
    m_lineFreeAt = arrival + m_lineTime;
    m_line.push_back({byte, arrival});
    advanceTo(now);
}

void Board::advanceTo(Micros now) {
    for (;;) {
        auto boardEvent = nextBoardEvent();
        bool lineDue = !m_line.empty() && m_line.front().arrival <= now;
        if (boardEvent && *boardEvent <= now && (!lineDue || *boardEvent <= m_line.front().arrival)) {
            runBoardEvent();
        } else if (lineDue) {
            OnTheLine next = m_line.front();
            m_line.pop_front();
            deliver(next.byte, next.arrival);
        } else {
            return;
        }
    }
}

std::optional<Micros> Board::nextBoardEvent() const {
    if (m_inDelay || m_holding) {
        return m_readyAt;
    }
    return std::nullopt;
}

std::optional<Micros> Board::nextDeadline() const {
    auto deadline = nextBoardEvent();
    if (!m_line.empty()) {
        deadline = std::min(deadline.value_or(m_line.front().arrival), m_line.front().arrival);
    }
    return deadline;
}

void Board::runBoardEvent() {
    if (m_inDelay) {
        // EVMBUG reads and drops one pending character after its delay loop, then goes on.
        m_inDelay = false;
        if (m_holding) {
            m_holding.reset();
            ++m_stats.lost;
        }
        m_monitor.resume(m_output);
        return;
    }
    std::uint8_t byte = *m_holding;
    m_holding.reset();
    handleAt(byte, m_readyAt);
}

void Board::deliver(std::uint8_t byte, Micros at) {
    if (!m_inDelay && !m_holding && m_readyAt <= at) {
        handleAt(byte, at);
        return;
    }
    // The register holds one character; a newer one overwrites it (overrun).
    if (m_holding) {
        ++m_stats.lost;
    }
    m_holding = byte;
}

std::string Board::takeOutput() {
    std::string output;
    output.swap(m_output);
    return output;
}

void Board::handleAt(std::uint8_t byte, Micros at) {
    m_readyAt = at + m_charTime;
    if (!m_monitor.handle(byte, m_output)) {
        return;
    }
    if (m_busyTime > 0) {
        m_inDelay = true;
        m_readyAt += m_busyTime;
    } else {
        m_monitor.resume(m_output);
    }
}

} // namespace quorvane::boardsim
