// The serial line as a transfer talks over it: sending, waiting for what the board answers, and the record of
// what was sent and received last, for the message when the board stops answering.
#pragma once

#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/SerialLine.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::engine {

// Where the board's output goes as it arrives (the command line's --echo, the window's board output).
class BoardOutputSink {
public:
    virtual ~BoardOutputSink() = default;
    virtual void boardOutput(std::string_view bytes) = 0;
};

enum class LinkWait { Done, NoAnswer, LineFailed, Abandoned };

class SerialLink {
public:
    SerialLink(platform::SerialLine &line, platform::EventPump &pump, platform::Clock &clock, BoardOutputSink &output,
               unsigned baud);

    // Sends `bytes`; false when the line failed.
    bool send(std::string_view bytes);
    // Waits until `done` holds for the text received since the last take(), reading the line in short slices and
    // running the host's events between them. NoAnswer once nothing more has come for the answer timeout.
    LinkWait waitFor(const std::function<bool(std::string_view)> &done);
    // Waits at most `span` for anything more; Done either way unless the line failed or the wait was abandoned.
    LinkWait settle(std::chrono::milliseconds span);
    // The text received since the last take(), which starts the next stretch empty.
    std::string_view pending() const { return m_pending; }
    std::string take();

    // One character's time on the line: 10 bits.
    std::chrono::microseconds characterTime() const { return m_characterTime; }
    std::chrono::milliseconds answerTimeout() const { return m_answerTimeout; }
    void abandon() { m_abandoned = true; }
    bool abandoned() const { return m_abandoned; }

    // For messages: the last bytes sent and received (printable, CR and LF spelled out) and the line's error.
    std::string lastSent() const;
    std::string lastReceived() const;
    std::string lineError() { return m_line.error(); }

private:
    bool readSlice(std::chrono::milliseconds slice);
    void runEventsWhenDue();

    platform::SerialLine &m_line;
    platform::EventPump &m_pump;
    platform::Clock &m_clock;
    BoardOutputSink &m_output;
    std::chrono::microseconds m_characterTime;
    std::chrono::milliseconds m_answerTimeout;
    std::string m_pending;
    std::string m_sentTail;
    std::string m_receivedTail;
    bool m_abandoned = false;
    std::optional<platform::Clock::TimePoint> m_eventsRun;
};

// Shows bytes for a message: printable ASCII as itself, CR and LF as <CR> and <LF>, anything else as <xx>.
std::string visibleBytes(std::string_view bytes);

} // namespace quorvane::engine
