// The Send operation's steps, from the selection check to the common end, typing through a key-sequence sink.
#pragma once

#include "engine/EngineHost.h"
#include "engine/KeySequenceSink.h"
#include "engine/Pacer.h"
#include "engine/SendDriver.h"
#include "engine/TransferContext.h"

#include <filesystem>
#include <optional>
#include <string>

namespace quorvane::engine {

inline constexpr std::string_view kMessageTitle = "Quorvane";
inline constexpr std::string_view kNothingSelectedText = "Select a text file to send.";
inline constexpr std::string_view kTerminalNotRunningText =
    "The selected terminal emulator application is not running. Click OK, start the terminal emulator "
    "application, then try again.";
inline constexpr std::string_view kUnrecognisedTagText = "Unrecognised tag in the object code file.";
inline constexpr std::string_view kTerminalLostText =
    "The terminal emulator window was lost (it was closed or could not be brought back to the front). The "
    "transfer has ended; nothing was typed into any other window.";

class SendOperation {
public:
    SendOperation(EngineHost &host, EngineServices services, KeySequenceSink &sink);

    SendResult Send();
    bool running() const { return m_running; }
    void resume() { m_pacer.release(); }
    void abandon() { m_pacer.abandon(); }

private:
    // The window that a title term chose, and how many windows' titles held the term.
    struct Match {
        std::optional<platform::WindowId> id;
        std::string title;
        int count = 0;
    };
    struct Terminals {
        std::string term; // the host's term when it is neither of the two named terminals
        Match teraTerm;
        Match hyperTerminal;
        Match other;
    };

    Terminals FindTerminalWindows();
    const Match *chosenTerminal(const Terminals &terminals);
    std::optional<platform::WindowId> ActivateTerminal(const Terminals &terminals);
    SenderResult runTransfer(const std::filesystem::path &path, FileType fileType, const Terminals &terminals);
    SenderResult runHexDump(const std::filesystem::path &path, const Terminals &terminals);
    SendResult commonEnd(const SenderResult &result, const std::filesystem::path &path);

    EngineHost &m_host;
    EngineServices m_services;
    KeySequenceSink &m_sink;
    Pacer m_pacer;
    bool m_running = false;
    std::string m_remarks; // on how the file was read, for the message at the end
};

} // namespace quorvane::engine
