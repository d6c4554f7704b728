// Timing of the tagged object transfer: line waits of 100 ms times the line factor, hex character waits of
// 7000 times the character factor event-pump passes.
#include "TransferSchedule.h"

#include <cmath>

namespace quorvane::boardsim {

namespace {

constexpr Micros kLineWaitBase = 100'000;
constexpr float kHexCharPasses = 7000.0f;
constexpr std::size_t kAddressFieldLength = 5;
constexpr std::size_t kHeaderFieldLength = 13;

class Typist {
public:
    explicit Typist(const Pacing &pacing) : m_pacing(pacing) {}

    void type(std::string_view text) { type(text, 0); }
    void typeThenLineWait(std::string_view text) {
        type(text, static_cast<Micros>(std::llround(static_cast<double>(kLineWaitBase) * m_pacing.lineFactor)));
    }
    void typeThenCharWait(std::string_view text) {
        float passes = std::floor(kHexCharPasses * m_pacing.charFactor);
        type(text, passes < 1.0f ? 0 : static_cast<Micros>(passes) * m_pacing.passTime);
    }
    std::vector<Keystroke> take() { return std::move(m_keys); }

private:
    // One call types its whole string at once; the wait follows it.
    void type(std::string_view text, Micros wait) {
        for (char c : text) {
            m_keys.push_back({static_cast<std::uint8_t>(c), m_now});
        }
        m_now += wait;
    }

    const Pacing &m_pacing;
    Micros m_now = 0;
    std::vector<Keystroke> m_keys;
};

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t end = text.find_first_of("\r\n");
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        std::size_t next = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        text.remove_prefix(next);
    }
    return lines;
}

// Types the fields of one record; false once the transfer ends (":" record or an unknown tag).
bool typeRecord(std::string_view record, std::string_view command, Typist &typist) {
    for (std::size_t pos = 0;;) {
        char tag = pos < record.size() ? record[pos] : '\0';
        std::string_view field = record.substr(std::min(pos + 1, record.size()), 4);
        if (tag == '0') {
            pos += kHeaderFieldLength;
        } else if (tag == '9') {
            typist.typeThenLineWait("\r");
            typist.typeThenLineWait(command);
            for (char c : field) {
                typist.typeThenLineWait(std::string_view(&c, 1));
            }
            typist.typeThenLineWait("\r");
            pos += kAddressFieldLength;
        } else if (tag == 'B') {
            for (char c : field) {
                typist.typeThenCharWait(std::string_view(&c, 1));
            }
            typist.typeThenLineWait(" ");
            pos += kAddressFieldLength;
        } else if (tag == '7') {
            return true;
        } else {
            if (tag == ':') {
                typist.type("\r");
            }
            return false;
        }
    }
}

} // namespace

std::vector<Keystroke> taggedObjectKeystrokes(std::string_view objectText, MonitorKind monitor, const Pacing &pacing) {
    Typist typist(pacing);
    std::string_view command = monitor == MonitorKind::Tibug ? "M" : "IM ";
    for (std::string_view record : splitLines(objectText)) {
        if (!typeRecord(record, command, typist)) {
            break;
        }
    }
    return typist.take();
}

void play(Board &board, const std::vector<Keystroke> &keystrokes) {
    constexpr Micros kSettleTime = 10'000'000;
    Micros last = 0;
    for (const Keystroke &key : keystrokes) {
        board.receive(key.byte, key.at);
        last = key.at;
    }
    board.advanceTo(last + kSettleTime);
}

} // namespace quorvane::boardsim
