// The loader and text transfers over the serial line: paced by the board's echo, or, for a board that does not
// echo, by the line's rate and the line wait.
#include "engine/InputFile.h"
#include "engine/Pacer.h"
#include "engine/SerialTransfers.h"
#include "engine/TextDecoding.h"

#include <algorithm>

namespace quorvane::engine {

namespace {

using namespace std::chrono_literals;

constexpr std::size_t kUnconfirmedLimit = 2;
constexpr auto kLoaderLineWait = 50ms;

// A board echoes a CR as CR LF: the LF is no echo of anything sent.
std::size_t echoCount(std::string_view received) {
    return static_cast<std::size_t>(
        std::count_if(received.begin(), received.end(), [](char ch) { return ch != '\n'; }));
}

// True once the board has answered something other than the echo of what was sent: an error on its way.
bool differs(std::string_view received, std::string_view sent) {
    std::size_t next = 0;
    for (const char ch : received) {
        if (ch == '\n') {
            continue;
        }
        if (next >= sent.size() || sent[next] != ch) {
            return true;
        }
        ++next;
    }
    return false;
}

class LineSender {
public:
    LineSender(SerialLink &link, EngineHost &host, bool loader) : m_link(link), m_host(host), m_loader(loader) {}

    std::optional<SerialOutcome> sendLine(const std::string &bytes, std::size_t lineNumber) {
        m_link.take();
        const MonitorAnswer answer = m_echoes ? sendEchoed(bytes) : sendUnechoed(bytes);
        if (answer == MonitorAnswer::Done) {
            return std::nullopt;
        }
        const auto code = monitorError(m_link.pending());
        return monitorFailure(answer, code.value_or(-1), m_link, "line " + std::to_string(lineNumber) + " of the file");
    }

private:
    MonitorAnswer result(LinkWait wait) {
        if (wait == LinkWait::Done) {
            return monitorError(m_link.pending()) ? MonitorAnswer::BoardError : MonitorAnswer::Done;
        }
        return wait == LinkWait::NoAnswer     ? MonitorAnswer::NoAnswer
               : wait == LinkWait::LineFailed ? MonitorAnswer::LineFailed
                                              : MonitorAnswer::Abandoned;
    }

    // Whether the board echoes shows at the very first character: no echo within the answer timeout means none.
    MonitorAnswer sendEchoed(std::string_view bytes) {
        for (std::size_t sent = 0; sent <= bytes.size(); ++sent) {
            const std::size_t limit = sent == bytes.size() ? 1 : kUnconfirmedLimit;
            const LinkWait wait = m_link.waitFor([&](std::string_view received) {
                return echoCount(received) + limit > sent || differs(received, bytes.substr(0, sent));
            });
            if (wait == LinkWait::NoAnswer && !m_echoSeen) {
                m_echoes = false;
                return sendUnechoed(bytes.substr(sent));
            }
            if (wait == LinkWait::Done && differs(m_link.pending(), bytes.substr(0, sent))) {
                return result(
                    m_link.waitFor([](std::string_view received) { return monitorError(received).has_value(); }));
            }
            if (const MonitorAnswer answer = result(wait); answer != MonitorAnswer::Done || sent == bytes.size()) {
                return answer;
            }
            m_echoSeen = m_echoSeen || !m_link.pending().empty();
            if (!m_link.send(bytes.substr(sent, 1))) {
                return MonitorAnswer::LineFailed;
            }
        }
        return MonitorAnswer::Done;
    }

    MonitorAnswer sendUnechoed(std::string_view bytes) {
        if (!m_link.send(bytes)) {
            return MonitorAnswer::LineFailed;
        }
        const auto lineWait =
            m_loader ? kLoaderLineWait
                     : std::chrono::milliseconds(delayMilliseconds(0.1f, readFactor(m_host.lineFactorText())));
        const auto lineTime = std::chrono::ceil<std::chrono::milliseconds>(m_link.characterTime() * bytes.size());
        const LinkWait wait = m_link.settle(lineTime + lineWait);
        return result(wait);
    }

    SerialLink &m_link;
    EngineHost &m_host;
    bool m_loader;
    bool m_echoes = true;
    bool m_echoSeen = false;
};

} // namespace

// The stop check comes before each line is read, so a line once begun is sent to its end with its CR.
SerialOutcome sendLinesOverSerial(SerialLink &link, EngineHost &host, LineReader &file, bool loader) {
    LineSender sender(link, host, loader);
    std::u32string line;
    for (std::size_t lineNumber = 1; !file.atEnd(); ++lineNumber) {
        if (!host.stopVisible()) {
            return {SerialEnd::Stopped, {}};
        }
        if (!file.readLine(line)) {
            break;
        }
        std::string bytes;
        for (const char32_t ch : line) {
            appendUtf8(bytes, ch);
        }
        if (!file.atEnd()) {
            bytes += '\r';
        }
        if (auto failed = sender.sendLine(bytes, lineNumber)) {
            return *failed;
        }
        host.progress(file.consumed(), file.size());
    }
    if (file.failed()) {
        return {SerialEnd::FileError, std::string(kReadErrorReason)};
    }
    return {SerialEnd::Completed, {}};
}

} // namespace quorvane::engine
