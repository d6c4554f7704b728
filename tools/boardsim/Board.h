// The simulated board on its serial line: the monitor plus the timing that makes a real board lose characters.
#pragma once

#include "MemoryImage.h"
#include "Monitor.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace quorvane::boardsim {

using Micros = std::int64_t;

struct BoardConfig {
    MonitorConfig monitor;
    Micros busyTime = 0; // re-entry delay before each prompt; 0 = off
    unsigned baud = 0;   // the line carries one character per 10 bits at this rate; 0 = no limit
    Micros charTime = 0; // the monitor's handling time per character (echo and work); 0 = none
    // The board's output also goes at the line's rate, and the monitor, which waits for its transmitter, reads
    // nothing more until all but the last character of an answer are on their way.
    bool pacedOutput = false;
    // Line faults for tests: the n-th byte received (from 1) is dropped, or changed (a hex digit into the next
    // one, F into 0; any other byte with its lowest bit flipped); 0 = none.
    std::size_t dropByte = 0;
    std::size_t changeByte = 0;
};

struct BoardStats {
    std::size_t received = 0;
    std::size_t lost = 0;
};

class Board {
public:
    explicit Board(const BoardConfig &config);

    // Prints what the board shows when the session starts.
    void start();
    // A character is typed into the terminal at the given time; times never go back.
    void receive(std::uint8_t byte, Micros now);
    // Lets time pass: a held character is handled and a finished delay lets the monitor go on.
    void advanceTo(Micros now);
    // When advanceTo next has work to do, if ever.
    std::optional<Micros> nextDeadline() const;

    std::string takeOutput();
    const MemoryImage &memory() const { return m_memory; }
    const BoardStats &stats() const { return m_stats; }
    unsigned errorCount() const { return m_monitor.errorCount(); }

private:
    struct OnTheLine {
        std::uint8_t byte;
        Micros arrival;
    };

    void runBoardEvent();
    void deliver(std::uint8_t byte, Micros at);
    void handleAt(std::uint8_t byte, Micros at);
    void emit(const std::string &text, Micros at);
    std::optional<Micros> nextBoardEvent() const;

    MemoryImage m_memory;
    Monitor m_monitor;
    Micros m_lineTime;
    Micros m_charTime;
    Micros m_busyTime;
    Micros m_lineFreeAt = 0;
    std::deque<OnTheLine> m_line; // typed, still on its way at the line's rate
    Micros m_readyAt = 0;
    bool m_inDelay = false;
    std::optional<std::uint8_t> m_holding; // the serial interface's one receive register
    BoardStats m_stats;
    std::string m_output;
    bool m_pacedOutput;
    std::size_t m_dropByte;
    std::size_t m_changeByte;
    std::deque<std::pair<char, Micros>> m_outgoing; // paced output with the time it is fully on the line
    Micros m_transmitterFreeAt = 0;
    Micros m_now = 0;
};

} // namespace quorvane::boardsim
