// What a sender may use: typing into the terminal, the waits, the stop check and the host's current values.
#pragma once

#include "engine/EngineHost.h"
#include "engine/KeySequenceSink.h"
#include "engine/Pacer.h"
#include "platform/Desktop.h"

#include <cstdint>
#include <istream>
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
    Abandoned,
    ReadFailed,
    Malformed,
    UnrecognisedTag,
};

struct SenderResult {
    TransferEnd end = TransferEnd::Completed;
    // For ReadFailed the reason, for Malformed and UnrecognisedTag what is wrong and where, for Completed a
    // notice for the user or nothing.
    std::string message;
};

class TransferContext {
public:
    TransferContext(EngineHost &host, Pacer &pacer, KeySequenceSink &sink, platform::Desktop &desktop,
                    platform::WindowId terminal);

    // Types `keys` into the terminal, activating it again first if it lost the focus. False when nothing was
    // typed: the terminal is lost, or the transfer is being abandoned; interruption() tells which.
    bool type(std::u16string_view keys);
    TransferEnd interruption() const;

    // The stop signal is btnStop's visibility; a transfer being abandoned stops at its next check as well.
    bool stopRequested() { return m_pacer.abandoned() || !m_host.stopVisible(); }

    void lineWait();     // 100 ms x line factor
    void hexCharWait();  // 7000 x character factor passes
    void textCharWait(); // 5000 x character factor passes
    Pacer &pacer() { return m_pacer; }
    EngineHost &host() { return m_host; }

private:
    EngineHost &m_host;
    Pacer &m_pacer;
    KeySequenceSink &m_sink;
    platform::Desktop &m_desktop;
    platform::WindowId m_terminal;
    bool m_lost = false;
};

inline constexpr std::u16string_view kCarriageReturn = u"\r";

SenderResult SendLoaderFile(TransferContext &context, LineReader &file);
SenderResult SendTaggedObjectFile(TransferContext &context, LineReader &file);
SenderResult SendHexDumpFile(TransferContext &context, std::istream &file, std::uint64_t size);
SenderResult SendTextFile(TransferContext &context, LineReader &file);

} // namespace quorvane::engine
