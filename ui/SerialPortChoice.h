// The rules of the window's "Serial port" choice, for both faces: the port list's entries, the baud rates, which
// of the frame's controls take part for a file type, the checks before a Send, and the board's output as text.
#pragma once

#include "engine/FileType.h"
#include "engine/SerialSendOperation.h"
#include "platform/Dialogs.h"
#include "platform/SerialLine.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::ui {

inline constexpr unsigned kDefaultBaudRate = 9600;
inline constexpr std::array<unsigned, 9> kBaudRates{300, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

// 50 to 4000000, digits only; nothing for anything else.
std::optional<unsigned> parseBaudRate(std::string_view text);
// One to four hexadecimal digits, in either letter case; nothing for anything else.
std::optional<std::uint16_t> parseLoadAddress(std::string_view text);

// The load address serves the transfers through the monitor (a hex dump needs it; object code uses it for words
// before its first address tag, or for all of them when the tags are ignored), and only those can be read back.
struct SerialOptionState {
    bool loadAddress = false;
    bool verify = false;
};
SerialOptionState serialOptionState(engine::FileType type);

// "/dev/ttyUSB0  FTDI FT232R USB UART (A50285BI)": the name, then the description where there is one.
std::string portEntryText(const platform::SerialPortInfo &port);
// The port that the box's text names: a listed port by its entry or its name, else the text as typed (a
// pseudo-terminal or a link under /dev/serial/by-id, which the system's list may not hold).
std::string portNameFor(std::string_view boxText, const std::vector<platform::SerialPortInfo> &listed);

// What the frame's controls hold at the moment of Send.
struct SerialFormInput {
    std::string portText;
    std::string baudText;
    std::string addressText;
    bool verify = true;
    engine::FileType type = engine::FileType::Loader;
};

// The request for the engine, or the one sentence that says why nothing can be sent.
struct SerialFormRequest {
    std::optional<engine::SerialRequest> request;
    std::string problem;
};
SerialFormRequest serialRequestFor(const SerialFormInput &input, const std::vector<platform::SerialPortInfo> &listed);

// The board's bytes as lines of text for the output area, in pieces as they arrive: CR, LF and CR LF each end a
// line (also when a CR LF is split between two pieces), a tab stays, other control characters are left out and
// bytes outside ASCII are shown as <xx>.
class BoardOutputText {
public:
    std::string append(std::string_view bytes);

private:
    bool m_afterCarriageReturn = false;
};

// A serial transfer's messages in a window: what it says without a warning ("verified: 10 words") goes into the end
// line, so that a transfer that went well asks for no click; warnings and errors are message boxes.
class SerialMessages : public platform::Dialogs {
public:
    explicit SerialMessages(platform::Dialogs &boxes) : m_boxes(boxes) {}
    void showMessage(std::string_view title, std::string_view text, platform::MessageIcon icon) override;
    // The notes since the last call, joined by "; ".
    std::string takeNotes();

private:
    platform::Dialogs &m_boxes;
    std::string m_notes;
};

} // namespace quorvane::ui
