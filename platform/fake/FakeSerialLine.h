// A serial line whose far end is a simulated board on the manual clock: a wait for input jumps to the moment the
// board next has something to say, and the line can be made to fail like an unplugged port.
#pragma once

#include "platform/SerialLine.h"
#include "platform/fake/ManualClock.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quorvane::platform {

class FakeSerialLine : public SerialLine {
public:
    // The board on the far end.
    class FarEnd {
    public:
        virtual ~FarEnd() = default;
        virtual void receive(std::uint8_t byte, Clock::TimePoint at) = 0;
        // What the board has put on the line up to `now`.
        virtual std::string output(Clock::TimePoint now) = 0;
        // When the board next has work to do, if ever.
        virtual std::optional<Clock::TimePoint> nextEvent() = 0;
    };

    FakeSerialLine(ManualClock &clock, FarEnd &farEnd) : m_clock(clock), m_farEnd(farEnd) {}

    bool write(std::string_view bytes, std::chrono::milliseconds timeout) override;
    bool read(std::string &into, std::chrono::milliseconds timeout) override;
    std::string error() override { return m_failed ? "the device was removed" : ""; }

    // From the `count`-th byte written on (counted from 1), the line fails as an unplugged port does.
    void failAtByte(std::size_t count) { m_failAt = count; }
    const std::string &written() const { return m_written; }

private:
    ManualClock &m_clock;
    FarEnd &m_farEnd;
    std::string m_written;
    std::optional<std::size_t> m_failAt;
    bool m_failed = false;
};

// Ports as a list; open() gives the one line, once, under the name "/dev/ttyFAKE0", or the error set.
class FakeSerialPorts : public SerialPorts {
public:
    explicit FakeSerialPorts(FakeSerialLine &line) : m_line(line) {}

    std::vector<SerialPortInfo> list() override { return {{"/dev/ttyFAKE0", "Fake adapter"}}; }
    std::unique_ptr<SerialLine> open(std::string_view name, unsigned baud, std::string &error) override;

    std::string openError; // when set, open() fails with it
    unsigned openedBaud = 0;

private:
    FakeSerialLine &m_line;
};

} // namespace quorvane::platform
