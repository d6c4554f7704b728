// Sending and waiting on the serial line; time goes by the host's clock, and its events run between slices.
#include "engine/SerialLink.h"

#include <algorithm>
#include <cstdio>

namespace quorvane::engine {

namespace {

using namespace std::chrono_literals;

// Short enough that STOP! and the window's repaints are handled at once, long enough to cost nothing.
constexpr auto kSlice = 20ms;
// The longest a monitor is silent while it works: its re-entry delay (about 0.1 s on EVMBUG, 0.2 s believed on
// TIBUG) before the prompt, with a wide margin; on a slow line the time for a long answer is added.
constexpr auto kQuietTime = 1000ms;
constexpr int kAnswerCharacters = 64;
constexpr std::size_t kTailLength = 40;
// A pass through the host's events costs system calls of its own (a window system's queue, timers); after every
// byte that would hold up the answer to an echo that paces the next character. Every few milliseconds keeps
// STOP! and the repaints as prompt as a person can tell.
constexpr auto kEventsInterval = 5ms;

void keepTail(std::string &tail, std::string_view bytes) {
    tail.append(bytes);
    if (tail.size() > kTailLength) {
        tail.erase(0, tail.size() - kTailLength);
    }
}

} // namespace

SerialLink::SerialLink(platform::SerialLine &line, platform::EventPump &pump, platform::Clock &clock,
                       BoardOutputSink &output, unsigned baud)
    : m_line(line), m_pump(pump), m_clock(clock), m_output(output),
      m_characterTime(std::chrono::microseconds(10'000'000 / std::max(baud, 1u))),
      m_answerTimeout(kQuietTime + std::chrono::ceil<std::chrono::milliseconds>(m_characterTime * kAnswerCharacters)) {}

bool SerialLink::send(std::string_view bytes) {
    keepTail(m_sentTail, bytes);
    return m_line.write(bytes, m_answerTimeout);
}

bool SerialLink::readSlice(std::chrono::milliseconds slice) {
    const std::size_t before = m_pending.size();
    if (!m_line.read(m_pending, slice)) {
        return false;
    }
    if (m_pending.size() > before) {
        const std::string_view arrived = std::string_view(m_pending).substr(before);
        keepTail(m_receivedTail, arrived);
        m_output.boardOutput(arrived);
    }
    return true;
}

// The timeout runs from the last byte received, so a long answer that keeps coming is never cut off.
LinkWait SerialLink::waitFor(const std::function<bool(std::string_view)> &done) {
    auto deadline = m_clock.now() + m_answerTimeout;
    for (;;) {
        if (done(m_pending)) {
            return LinkWait::Done;
        }
        runEventsWhenDue();
        if (m_abandoned) {
            return LinkWait::Abandoned;
        }
        const auto now = m_clock.now();
        if (now >= deadline) {
            return LinkWait::NoAnswer;
        }
        const std::size_t before = m_pending.size();
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        if (!readSlice(std::min<std::chrono::milliseconds>(left, kSlice))) {
            return LinkWait::LineFailed;
        }
        if (m_pending.size() > before) {
            deadline = m_clock.now() + m_answerTimeout;
        }
    }
}

void SerialLink::runEventsWhenDue() {
    const auto now = m_clock.now();
    if (m_eventsRun && now - *m_eventsRun < kEventsInterval) {
        return;
    }
    m_pump.processPendingEvents();
    m_eventsRun = now;
}

LinkWait SerialLink::settle(std::chrono::milliseconds span) {
    const auto deadline = m_clock.now() + span;
    while (!m_abandoned && m_clock.now() < deadline) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - m_clock.now());
        if (!readSlice(std::min<std::chrono::milliseconds>(left, kSlice))) {
            return LinkWait::LineFailed;
        }
        m_pump.processPendingEvents();
    }
    return m_abandoned ? LinkWait::Abandoned : LinkWait::Done;
}

std::string SerialLink::take() {
    std::string taken;
    taken.swap(m_pending);
    return taken;
}

std::string SerialLink::lastSent() const { return visibleBytes(m_sentTail); }

std::string SerialLink::lastReceived() const { return visibleBytes(m_receivedTail); }

std::string visibleBytes(std::string_view bytes) {
    std::string shown;
    for (const char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte == '\r') {
            shown += "<CR>";
        } else if (byte == '\n') {
            shown += "<LF>";
        } else if (byte >= 0x20 && byte < 0x7F) {
            shown += ch;
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "<%02X>", byte);
            shown += code;
        }
    }
    return shown;
}

} // namespace quorvane::engine
