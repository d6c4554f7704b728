// Serial-line timing around the monitor: line rate, a one-character receive register, handling time, delay.
#include "Board.h"

#include <algorithm>

namespace quorvane::boardsim {

namespace {

constexpr Micros kMicrosPerSecond = 1'000'000;
constexpr Micros kBitsPerCharacter = 10; // start bit, 8 data bits, stop bit

std::uint8_t changed(std::uint8_t byte) {
    if (byte == 'F') {
        return '0';
    }
    if (byte == '9') {
        return 'A';
    }
    if ((byte >= '0' && byte < '9') || (byte >= 'A' && byte < 'F')) {
        return static_cast<std::uint8_t>(byte + 1);
    }
    return static_cast<std::uint8_t>(byte ^ 1u);
}

} // namespace

Board::Board(const BoardConfig &config)
    : m_monitor(m_memory, config.monitor),
      m_lineTime(config.baud == 0 ? 0 : kBitsPerCharacter * kMicrosPerSecond / config.baud),
      m_charTime(config.charTime), m_busyTime(config.busyTime), m_pacedOutput(config.pacedOutput && config.baud != 0),
      m_dropByte(config.dropByte), m_changeByte(config.changeByte) {}

void Board::start() {
    std::string shown;
    m_monitor.start(shown);
    emit(shown, m_now);
}

void Board::emit(const std::string &text, Micros at) {
    if (!m_pacedOutput) {
        m_output += text;
        return;
    }
    for (const char ch : text) {
        m_transmitterFreeAt = std::max(m_transmitterFreeAt, at) + m_lineTime;
        m_outgoing.emplace_back(ch, m_transmitterFreeAt);
    }
    // The transmitter holds one character: the monitor is free once the last one has been handed to it.
    m_readyAt = std::max(m_readyAt, m_transmitterFreeAt - m_lineTime);
}

// The terminal queues what is typed and sends it no faster than the line's rate.
void Board::receive(std::uint8_t byte, Micros now) {
    ++m_stats.received;
    if (m_stats.received == m_dropByte) {
        advanceTo(now);
        return;
    }
    if (m_stats.received == m_changeByte) {
        byte = changed(byte);
    }
    Micros arrival = std::max(now, m_lineFreeAt);
    m_lineFreeAt = arrival + m_lineTime;
    m_line.push_back({byte, arrival});
    advanceTo(now);
}

void Board::advanceTo(Micros now) {
    m_now = std::max(m_now, now);
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
    if (!m_outgoing.empty()) {
        deadline = std::min(deadline.value_or(m_outgoing.front().second), m_outgoing.front().second);
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
        std::string shown;
        m_monitor.resume(shown);
        emit(shown, m_readyAt);
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
    while (!m_outgoing.empty() && m_outgoing.front().second <= m_now) {
        output += m_outgoing.front().first;
        m_outgoing.pop_front();
    }
    return output;
}

void Board::handleAt(std::uint8_t byte, Micros at) {
    m_readyAt = at + m_charTime;
    std::string shown;
    const bool delay = m_monitor.handle(byte, shown);
    emit(shown, at);
    if (!delay) {
        return;
    }
    if (m_busyTime > 0) {
        m_inDelay = true;
        m_readyAt += m_busyTime;
    } else {
        shown.clear();
        m_monitor.resume(shown);
        emit(shown, m_readyAt);
    }
}

} // namespace quorvane::boardsim
