// Send over the serial line: the four transfers paced by the board's own answers, and the read-back that proves
// a monitor transfer. An addition beside the typed transfers, which stay as they are.
#pragma once

#include "engine/EngineHost.h"
#include "engine/SerialLink.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/SerialLine.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quorvane::engine {

struct SerialRequest {
    std::string port;
    unsigned baud = 9600;
    std::optional<std::uint16_t> address; // where a hex dump, or object code without address tags, is loaded
    bool verify = true;                   // read a monitor transfer back afterwards
    bool verifyOnly = false;              // read back and compare, send nothing that stores
};

struct SerialServices {
    platform::SerialPorts &ports;
    platform::EventPump &pump;
    platform::Clock &clock;
    platform::Dialogs &dialogs;
    BoardOutputSink &boardOutput;
};

// How a serial Send ended; only Completed (everything sent and, when asked, every word read back equal) counts
// as success.
enum class SerialEnd {
    Completed,
    Stopped,
    Abandoned,
    NothingSelected,
    AlreadyRunning,
    FileError,
    MalformedFile,
    PortUnavailable, // could not be opened: nothing was sent
    NoAnswer,        // the board stopped answering
    LineFailed,      // the port went away during the transfer
    BoardError,      // the monitor or loader answered ERROR n
    Mismatch,        // the read-back differs from the file
};

class SerialSendOperation {
public:
    SerialSendOperation(EngineHost &host, SerialServices services) : m_host(host), m_services(services) {}

    // Uses the host's file, type, monitor and "ignore address tags"; the progress is reported in words for the
    // monitor transfers and in bytes of the file for the others.
    SerialEnd Send(const SerialRequest &request);
    bool running() const { return m_running; }
    // The program is ending: every wait returns at once and nothing more is sent.
    void abandon();

private:
    struct Outcome;
    Outcome run(const SerialRequest &request);
    Outcome runMonitorTransfer(const SerialRequest &request, std::string &error);
    Outcome runLineTransfer(SerialLink &link, bool loader);
    SerialEnd finish(const Outcome &outcome);

    EngineHost &m_host;
    SerialServices m_services;
    SerialLink *m_link = nullptr;
    bool m_running = false;
    bool m_abandoned = false;
};

// Texts of the messages, shared with the tests.
inline constexpr std::string_view kNeedsAddressText =
    "A hex dump over the serial line needs its load address (--address HEX, or the Address box). Nothing was sent.";
inline constexpr std::string_view kVerifyNeedsMonitorText =
    "Only the transfers through the monitor (object code, hex dump) can be read back and verified.";

} // namespace quorvane::engine
