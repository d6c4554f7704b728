// Talking to TIBUG and EVMBUG: every character is sent once the monitor has echoed the one before the last, and
// after a terminator or CR nothing is sent until the monitor has printed its next step or its prompt.
#include "engine/MonitorDialogue.h"

namespace quorvane::engine {

namespace {

// The board's serial interface holds one received character while the monitor echoes the one before, so one
// character may travel unconfirmed; a second would overrun the first.
constexpr std::size_t kUnconfirmedLimit = 2;
constexpr auto kReentryDelayLimit = std::chrono::milliseconds(300);
constexpr int kPromptRounds = 4;
constexpr std::string_view kStepPattern = "\r\nHHHH=HHHH ";
constexpr std::string_view kErrorText = "ERROR ";
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

std::optional<unsigned> hexValue(char ch) {
    const auto at = kHexDigits.find(ch);
    return at == std::string_view::npos ? std::nullopt : std::optional<unsigned>(static_cast<unsigned>(at));
}

std::uint16_t hexField(std::string_view four) {
    unsigned value = 0;
    for (const char ch : four) {
        value = value * 16 + hexValue(ch).value_or(0);
    }
    return static_cast<std::uint16_t>(value);
}

std::string hex4(std::uint16_t word) {
    std::string digits(4, '0');
    for (int i = 3; i >= 0; --i, word = static_cast<std::uint16_t>(word >> 4)) {
        digits[static_cast<std::size_t>(i)] = kHexDigits[word & 0xFu];
    }
    return digits;
}

} // namespace

std::optional<int> monitorError(std::string_view text) {
    const auto at = text.find(kErrorText);
    if (at == std::string_view::npos || at + kErrorText.size() >= text.size()) {
        return std::nullopt;
    }
    const char code = text[at + kErrorText.size()];
    return code >= '0' && code <= '9' ? std::optional<int>(code - '0') : std::nullopt;
}

std::optional<MemoryStep> trailingStep(std::string_view text) {
    if (text.size() < kStepPattern.size()) {
        return std::nullopt;
    }
    const std::string_view tail = text.substr(text.size() - kStepPattern.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (kStepPattern[i] == 'H' ? !hexValue(tail[i]) : tail[i] != kStepPattern[i]) {
            return std::nullopt;
        }
    }
    return MemoryStep{hexField(tail.substr(2, 4)), hexField(tail.substr(7, 4))};
}

std::string monitorErrorMeaning(int code) {
    switch (code) {
    case 0:
        return "bad tag";
    case 1:
        return "checksum error";
    case 2:
        return "invalid termination character";
    case 3:
        return "dump address error";
    case 4:
        return "invalid command";
    default:
        return "unknown error";
    }
}

MonitorAnswer MonitorDialogue::answer(LinkWait wait) {
    switch (wait) {
    case LinkWait::Done:
        return MonitorAnswer::Done;
    case LinkWait::NoAnswer:
        return MonitorAnswer::NoAnswer;
    case LinkWait::LineFailed:
        return MonitorAnswer::LineFailed;
    case LinkWait::Abandoned:
        break;
    }
    return MonitorAnswer::Abandoned;
}

bool MonitorDialogue::sawError(std::string_view text) {
    const auto code = monitorError(text);
    m_errorCode = code.value_or(-1);
    return code.has_value();
}

MonitorAnswer MonitorDialogue::sendPaced(std::string_view bytes) {
    const std::size_t start = m_link.pending().size();
    for (std::size_t sent = 0; sent < bytes.size(); ++sent) {
        const LinkWait wait = m_link.waitFor([&](std::string_view received) {
            return received.size() - start + kUnconfirmedLimit > sent || monitorError(received);
        });
        if (wait != LinkWait::Done) {
            return answer(wait);
        }
        if (sawError(m_link.pending())) {
            return MonitorAnswer::BoardError;
        }
        if (!m_link.send(bytes.substr(sent, 1))) {
            return MonitorAnswer::LineFailed;
        }
    }
    return MonitorAnswer::Done;
}

MonitorAnswer MonitorDialogue::waitForStep() {
    const LinkWait wait =
        m_link.waitFor([](std::string_view received) { return trailingStep(received) || monitorError(received); });
    if (wait != LinkWait::Done) {
        return answer(wait);
    }
    if (sawError(m_link.pending())) {
        return MonitorAnswer::BoardError;
    }
    m_step = *trailingStep(m_link.pending());
    m_link.take();
    return MonitorAnswer::Done;
}

MonitorAnswer MonitorDialogue::waitForPrompt(bool errorsAllowed) {
    const std::string_view prompt = m_tibug ? "\r\n?" : "\r\nMON? ";
    const LinkWait wait = m_link.waitFor([&](std::string_view received) {
        return received.ends_with(prompt) || (!errorsAllowed && monitorError(received));
    });
    if (wait != LinkWait::Done) {
        return answer(wait);
    }
    if (!errorsAllowed && sawError(m_link.pending())) {
        return MonitorAnswer::BoardError;
    }
    m_link.take();
    return MonitorAnswer::Done;
}

// A prompt that was already on its way (the one shown at the board's start, or one after a delay loop still
// running) may arrive before the CR's own; the monitor is ready only once no further prompt follows within the
// longest re-entry delay.
MonitorAnswer MonitorDialogue::reachPrompt() {
    m_link.take();
    if (!m_link.send("\r")) {
        return MonitorAnswer::LineFailed;
    }
    for (int round = 0; round < kPromptRounds; ++round) {
        if (const MonitorAnswer prompt = waitForPrompt(true); prompt != MonitorAnswer::Done) {
            return prompt;
        }
        if (const LinkWait quiet = m_link.settle(kReentryDelayLimit); quiet != LinkWait::Done) {
            return answer(quiet);
        }
        if (m_link.pending().empty()) {
            return MonitorAnswer::Done;
        }
    }
    return MonitorAnswer::NoAnswer;
}

// TIBUG reads its command letter without echo and echoes it with a space once it knows it; TIBUG's "M" must be
// followed by the address at once, since a space would make the address a dump's stop address.
MonitorAnswer MonitorDialogue::openMemory(std::uint16_t address) {
    const std::string_view command = m_tibug ? "M" : "IM ";
    const std::string_view echo = m_tibug ? "M " : "IM ";
    if (!m_link.send(command)) {
        return MonitorAnswer::LineFailed;
    }
    const LinkWait wait =
        m_link.waitFor([&](std::string_view received) { return received.ends_with(echo) || monitorError(received); });
    if (wait != LinkWait::Done) {
        return answer(wait);
    }
    if (sawError(m_link.pending())) {
        return MonitorAnswer::BoardError;
    }
    m_link.take();
    if (const MonitorAnswer sent = sendPaced(hex4(address) + "\r"); sent != MonitorAnswer::Done) {
        return sent;
    }
    return waitForStep();
}

MonitorAnswer MonitorDialogue::storeWord(std::uint16_t word) {
    if (const MonitorAnswer sent = sendPaced(hex4(word) + " "); sent != MonitorAnswer::Done) {
        return sent;
    }
    return waitForStep();
}

MonitorAnswer MonitorDialogue::nextWord() {
    if (!m_link.send(" ")) {
        return MonitorAnswer::LineFailed;
    }
    return waitForStep();
}

MonitorAnswer MonitorDialogue::leaveMemory() {
    if (!m_link.send("\r")) {
        return MonitorAnswer::LineFailed;
    }
    return waitForPrompt(false);
}

} // namespace quorvane::engine
