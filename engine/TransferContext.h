// What a sender may use: typing into the terminal, the waits, the stop check and the host's current values.
#pragma once

#include "engine/EngineHost.h"
#include "engine/KeySequenceSink.h"
#include "engine/Pacer.h"
#include "platform/Desktop.h"
#include "platform/KeyInjector.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::engine {

class LineReader;

// How a sender ended. Everything but Completed stops the transfer where it is.
enum class TransferEnd {
    Completed,
    Stopped,
    TerminalNotFound,
    TerminalLost,
    Untypable, // the keyboard cannot type a character (or a key) of the file
    Abandoned,
    ReadFailed,
    Malformed,
    UnrecognisedTag,
};

// Characters of a text that no key can produce: how many were left out, and where the first one was.
struct LeftOut {
    std::uint64_t count = 0;
    std::uint64_t line = 0;   // from 1
    std::uint64_t column = 0; // in characters, from 1
};

struct SenderResult {
    TransferEnd end = TransferEnd::Completed;
    // For ReadFailed the reason, for Malformed and UnrecognisedTag what is wrong and where, for Completed a
    // notice for the user or nothing.
    std::string message;
    LeftOut leftOut = {};
};

class TransferContext {
public:
    TransferContext(EngineHost &host, Pacer &pacer, KeySequenceSink &sink, platform::KeyInjector &injector,
                    platform::Desktop &desktop, platform::WindowId terminal);

    // Types `keys` into the terminal, activating it again first if it lost the focus. False when it could not:
    // the terminal is lost, the keyboard cannot type them, or the transfer is being abandoned; interruption()
    // tells which.
    bool type(std::u16string_view keys);
    TransferEnd interruption() const;
    // For Untypable: what could not be typed, as a message for the user.
    std::string untypableText() const;

    // The stop signal is btnStop's visibility; a transfer being abandoned stops at its next check as well.
    bool stopRequested() { return m_pacer.abandoned() || !m_host.stopVisible(); }

    void lineWait();     // 100 ms x line factor
    void hexCharWait();  // 7000 x character factor passes
    void textCharWait(); // 5000 x character factor passes
    Pacer &pacer() { return m_pacer; }
    EngineHost &host() { return m_host; }

private:
    // Brings the terminal back after a hold, if it lacks the focus (or always); false when the transfer ends.
    bool regainTerminal(bool activateAlways);
    void holdWhileOwnWindowFocused();

    EngineHost &m_host;
    Pacer &m_pacer;
    KeySequenceSink &m_sink;
    platform::KeyInjector &m_injector;
    platform::Desktop &m_desktop;
    platform::WindowId m_terminal;
    std::optional<TransferEnd> m_end;
    char32_t m_untypable = 0;
};

inline constexpr std::u16string_view kCarriageReturn = u"\r";

SenderResult SendLoaderFile(TransferContext &context, LineReader &file);
SenderResult SendTaggedObjectFile(TransferContext &context, LineReader &file);
SenderResult SendHexDumpFile(TransferContext &context, std::istream &file, std::uint64_t size);
SenderResult SendTextFile(TransferContext &context, LineReader &file);

} // namespace quorvane::engine
