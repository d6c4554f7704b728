// The "Serial port" choice's rules: parsing, the port list's entries, the request for a Send, the output's text.
#include "ui/SerialPortChoice.h"

#include <charconv>
#include <utility>

namespace quorvane::ui {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

template <typename Number> std::optional<Number> wholeNumber(std::string_view text, int base) {
    Number value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<unsigned> parseBaudRate(std::string_view text) {
    constexpr unsigned kLowest = 50;
    constexpr unsigned kHighest = 4'000'000;
    const auto baud = wholeNumber<unsigned>(text, 10);
    return baud && *baud >= kLowest && *baud <= kHighest ? baud : std::nullopt;
}

std::optional<std::uint16_t> parseLoadAddress(std::string_view text) {
    if (text.size() > 4) {
        return std::nullopt;
    }
    const auto address = wholeNumber<unsigned>(text, 16);
    return address ? std::optional(static_cast<std::uint16_t>(*address)) : std::nullopt;
}

SerialOptionState serialOptionState(engine::FileType type) {
    const bool monitor = type == engine::FileType::TaggedObject || type == engine::FileType::HexDump;
    return {monitor, monitor};
}

std::string portEntryText(const platform::SerialPortInfo &port) {
    return port.description.empty() ? port.name : port.name + "  " + port.description;
}

std::string portNameFor(std::string_view boxText, const std::vector<platform::SerialPortInfo> &listed) {
    const std::string_view text = trimmed(boxText);
    for (const platform::SerialPortInfo &port : listed) {
        if (text == portEntryText(port) || text == port.name) {
            return port.name;
        }
    }
    return std::string(text);
}

SerialFormRequest serialRequestFor(const SerialFormInput &input, const std::vector<platform::SerialPortInfo> &listed) {
    engine::SerialRequest request;
    request.port = portNameFor(input.portText, listed);
    if (request.port.empty()) {
        return {std::nullopt, "Choose the serial port in the Port box, or type its name. Nothing was sent."};
    }
    const auto baud = parseBaudRate(trimmed(input.baudText));
    if (!baud) {
        return {std::nullopt, "The baud rate must be a whole number from 50 to 4000000, not \"" + input.baudText +
                                  "\". Nothing was sent."};
    }
    request.baud = *baud;
    const SerialOptionState state = serialOptionState(input.type);
    const std::string_view address = trimmed(input.addressText);
    if (state.loadAddress && !address.empty()) {
        request.address = parseLoadAddress(address);
        if (!request.address) {
            return {std::nullopt, "The load address must be one to four hexadecimal digits, not \"" +
                                      input.addressText + "\". Nothing was sent."};
        }
    }
    request.verify = state.verify && input.verify;
    return {request, {}};
}

std::string BoardOutputText::append(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const bool lineFeedOfPair = byte == '\n' && m_afterCarriageReturn;
        m_afterCarriageReturn = byte == '\r';
        if (byte == '\r' || (byte == '\n' && !lineFeedOfPair)) {
            text += '\n';
        } else if (byte == '\t' || (byte >= 0x20 && byte < 0x7F)) {
            text += c;
        } else if (byte >= 0x80) {
            text += {'<', kHex[byte >> 4], kHex[byte & 0xF], '>'};
        }
    }
    return text;
}

void SerialMessages::showMessage(std::string_view title, std::string_view text, platform::MessageIcon icon) {
    if (icon != platform::MessageIcon::None) {
        m_boxes.showMessage(title, text, icon);
        return;
    }
    if (!m_notes.empty()) {
        m_notes += "; ";
    }
    m_notes += text;
}

std::string SerialMessages::takeNotes() { return std::exchange(m_notes, {}); }

} // namespace quorvane::ui
