// The fake serial line: bytes go to the far end at the clock's time, reads move the clock to its next event.
#include "platform/fake/FakeSerialLine.h"

namespace quorvane::platform {

namespace {

// Hands the shared line out as a unique pointer without giving up its ownership.
class BorrowedLine : public SerialLine {
public:
    explicit BorrowedLine(SerialLine &line) : m_line(line) {}
    bool write(std::string_view bytes, std::chrono::milliseconds timeout) override {
        return m_line.write(bytes, timeout);
    }
    bool read(std::string &into, std::chrono::milliseconds timeout) override { return m_line.read(into, timeout); }
    std::string error() override { return m_line.error(); }

private:
    SerialLine &m_line;
};

} // namespace

bool FakeSerialLine::write(std::string_view bytes, std::chrono::milliseconds) {
    for (const char byte : bytes) {
        if (m_failAt && m_written.size() + 1 >= *m_failAt) {
            m_failed = true;
        }
        if (m_failed) {
            return false;
        }
        m_written += byte;
        m_farEnd.receive(static_cast<std::uint8_t>(byte), m_clock.now());
    }
    return true;
}

bool FakeSerialLine::read(std::string &into, std::chrono::milliseconds timeout) {
    if (m_failed) {
        return false;
    }
    const Clock::TimePoint deadline = m_clock.now() + timeout;
    std::string arrived = m_farEnd.output(m_clock.now());
    while (arrived.empty()) {
        const auto next = m_farEnd.nextEvent();
        if (!next || *next > deadline) {
            m_clock.advanceTo(deadline);
            return true;
        }
        m_clock.advanceTo(*next);
        arrived = m_farEnd.output(m_clock.now());
    }
    into += arrived;
    return true;
}

std::unique_ptr<SerialLine> FakeSerialPorts::open(std::string_view, unsigned baud, std::string &error) {
    if (!openError.empty()) {
        error = openError;
        return nullptr;
    }
    openedBaud = baud;
    return std::make_unique<BorrowedLine>(m_line);
}

} // namespace quorvane::platform
