// The Send operation: selection check, window walk, open, activation, initial wait, the sender and the common end.
#include "engine/SendOperation.h"

#include "engine/InputFile.h"
#include "engine/LineReader.h"
#include "engine/ObjectFileCheck.h"

namespace quorvane::engine {

namespace {

constexpr std::string_view kTeraTerm = "Tera Term";
constexpr std::string_view kHyperTerminal = "HyperTerminal";

void noteMatch(std::string_view term, const platform::TopLevelWindow &window, auto &match) {
    if (window.title.find(term) != std::string::npos) {
        match.id = window.id;
        match.title = window.title;
        ++match.count;
    }
}

// What the user must hear about how the text was read, even when it was typed to its end: nothing may be
// reinterpreted or dropped without a word.
std::string readingRemarks(const LineReader &file, const LeftOut &leftOut) {
    std::string remarks;
    if (file.utf8() == false) {
        remarks = "The file was read as Windows-1252, not as UTF-8: its byte at offset " +
                  std::to_string(file.firstInvalidOffset().value_or(0)) + " (counting from 0) is not valid UTF-8.";
    }
    if (leftOut.count > 0) {
        remarks += std::string(remarks.empty() ? "" : "\r\n\r\n") + std::to_string(leftOut.count) +
                   (leftOut.count == 1 ? " character could not be typed and was left out"
                                       : " characters could not be typed and were left out") +
                   ", the first at line " + std::to_string(leftOut.line) + ", column " +
                   std::to_string(leftOut.column) +
                   ": control characters U+0080 to U+009F (Windows-1252 bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D "
                   "among them) have no key.";
    }
    return remarks;
}

SendResult resultFor(TransferEnd end) {
    switch (end) {
    case TransferEnd::Completed:
        return SendResult::Completed;
    case TransferEnd::Stopped:
        return SendResult::Stopped;
    case TransferEnd::TerminalNotFound:
        return SendResult::TerminalNotFound;
    case TransferEnd::TerminalLost:
        return SendResult::TerminalLost;
    case TransferEnd::Untypable:
        return SendResult::Untypable;
    case TransferEnd::Abandoned:
        return SendResult::Abandoned;
    case TransferEnd::ReadFailed:
        return SendResult::FileError;
    case TransferEnd::Malformed:
    case TransferEnd::UnrecognisedTag:
        break;
    }
    return SendResult::MalformedFile;
}

SenderResult withMessage(SenderResult result, const TransferContext &context) {
    if (result.end == TransferEnd::ReadFailed) {
        result.message = std::string(kReadErrorReason);
    } else if (result.end == TransferEnd::Untypable) {
        result.message = context.untypableText();
    }
    return result;
}

} // namespace

SendOperation::SendOperation(EngineHost &host, EngineServices services, KeySequenceSink &sink)
    : m_host(host), m_services(services), m_sink(sink), m_pacer(services.pump, services.delayTimer, services.clock) {}

// Running starts as soon as the selection has been taken: the walk's event-pump passes may deliver a click in
// the file list or a second Send, and neither may change or restart this transfer.
SendResult SendOperation::Send() {
    if (m_running) {
        return SendResult::AlreadyRunning;
    }
    const std::optional<std::string> entry = m_host.selectedFile();
    if (!entry) {
        m_services.dialogs.showMessage(kMessageTitle, kNothingSelectedText, platform::MessageIcon::Warning);
        return SendResult::NothingSelected;
    }
    m_running = true;
    m_pacer.reset();
    m_remarks.clear();
    const std::filesystem::path path = transferPath(m_host.folderPath(), *entry);
    const FileType fileType = m_host.fileType();
    const Terminals terminals = FindTerminalWindows();
    if (m_pacer.abandoned()) {
        return commonEnd({TransferEnd::Abandoned, {}}, path);
    }
    m_host.setStopVisible(true);
    return commonEnd(runTransfer(path, fileType, terminals), path);
}

// Works on one snapshot, so windows that open, close or restack during the passes cannot make the walk loop
// or skip. Later matches overwrite earlier ones: the match lowest in the stacking order wins.
SendOperation::Terminals SendOperation::FindTerminalWindows() {
    Terminals found;
    found.term = m_host.terminalTitleTerm();
    const bool otherTerm = !found.term.empty() && found.term != kTeraTerm && found.term != kHyperTerminal;
    const std::string caption = m_host.windowCaption();
    for (const platform::TopLevelWindow &window : m_services.desktop.topLevelWindows()) {
        if (window.visible && !window.title.empty() && window.title != caption) {
            noteMatch(kTeraTerm, window, found.teraTerm);
            noteMatch(kHyperTerminal, window, found.hyperTerminal);
            if (otherTerm) {
                noteMatch(found.term, window, found.other);
            }
        }
        m_services.pump.processPendingEvents();
        if (m_pacer.abandoned()) {
            break;
        }
    }
    return found;
}

const SendOperation::Match *SendOperation::chosenTerminal(const Terminals &terminals) {
    const std::string term = m_host.terminalTitleTerm();
    if (term == kTeraTerm) {
        return &terminals.teraTerm;
    }
    if (term == kHyperTerminal) {
        return &terminals.hyperTerminal;
    }
    return term == terminals.term ? &terminals.other : nullptr;
}

// With two matching windows the wrong board may get the file: the user learns which window was taken.
std::optional<platform::WindowId> SendOperation::ActivateTerminal(const Terminals &terminals) {
    const Match *terminal = chosenTerminal(terminals);
    if (terminal == nullptr || !terminal->id || !m_services.desktop.activate(*terminal->id)) {
        return std::nullopt;
    }
    if (terminal->count > 1) {
        const int others = terminal->count - 1;
        m_host.notice("Typing into \"" + terminal->title + "\", the lowest in the stacking order; " +
                      (others == 1 ? std::string("another window's title matches")
                                   : std::to_string(others) + " other windows' titles match") +
                      " as well.");
    }
    m_services.injector.restrictTo(*terminal->id);
    return terminal->id;
}

SenderResult SendOperation::runTransfer(const std::filesystem::path &path, FileType fileType,
                                        const Terminals &terminals) {
    if (fileType == FileType::HexDump) {
        return runHexDump(path, terminals);
    }
    if (fileType == FileType::Loader || fileType == FileType::TaggedObject) {
        SenderResult check =
            checkObjectFile(path, fileType == FileType::Loader ? ObjectTransfer::Loader : ObjectTransfer::Monitor);
        if (check.end != TransferEnd::Completed) {
            return check;
        }
    }
    LineReader file;
    std::string reason;
    if (!file.open(path, reason)) {
        return {TransferEnd::ReadFailed, reason};
    }
    m_host.progress(0, file.size());
    const std::optional<platform::WindowId> terminal = ActivateTerminal(terminals);
    if (!terminal) {
        return {TransferEnd::TerminalNotFound, {}};
    }
    // The character set is checked while the initial wait runs; what is left of a long file is checked ahead of
    // the typing, as far as it has to be.
    m_pacer.Delay(1.0f, 1.0f, [&file] { return file.checkStep(); });
    file.setBetweenChecks([this] {
        m_pacer.keepResponsive();
        return !m_pacer.abandoned();
    });
    TransferContext context(m_host, m_pacer, m_sink, m_services.injector, m_services.desktop, *terminal);
    SenderResult result = fileType == FileType::Loader         ? SendLoaderFile(context, file)
                          : fileType == FileType::TaggedObject ? SendTaggedObjectFile(context, file)
                                                               : SendTextFile(context, file);
    m_remarks = readingRemarks(file, result.leftOut);
    return withMessage(result, context);
}

SenderResult SendOperation::runHexDump(const std::filesystem::path &path, const Terminals &terminals) {
    std::ifstream file;
    std::string reason;
    if (!openInputFile(path, file, reason)) {
        return {TransferEnd::ReadFailed, reason};
    }
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    m_host.progress(0, error ? 0 : size);
    const std::optional<platform::WindowId> terminal = ActivateTerminal(terminals);
    if (!terminal) {
        return {TransferEnd::TerminalNotFound, {}};
    }
    m_pacer.Delay(1.0f, 1.0f);
    TransferContext context(m_host, m_pacer, m_sink, m_services.injector, m_services.desktop, *terminal);
    return withMessage(SendHexDumpFile(context, file, error ? 0 : size), context);
}

// Every way a transfer ends comes through here (the file is already closed), so STOP! is hidden whenever
// nothing runs. The injector is finished before any message so that the box gets an ordinary keyboard.
SendResult SendOperation::commonEnd(const SenderResult &result, const std::filesystem::path &path) {
    m_services.injector.restrictTo(std::nullopt);
    m_services.injector.finish();
    const TransferEnd end = m_pacer.abandoned() ? TransferEnd::Abandoned : result.end;
    std::string text;
    platform::MessageIcon icon = platform::MessageIcon::Error;
    switch (end) {
    case TransferEnd::TerminalNotFound:
        text = kTerminalNotRunningText;
        icon = platform::MessageIcon::None;
        break;
    case TransferEnd::TerminalLost:
        text = kTerminalLostText;
        break;
    case TransferEnd::ReadFailed:
        text = "The file \"" + displayPath(path) + "\" could not be read: " + result.message + ".";
        break;
    case TransferEnd::Malformed:
    case TransferEnd::Untypable:
        text = result.message;
        break;
    case TransferEnd::UnrecognisedTag:
        text = result.message;
        break;
    default:
        // A completed transfer may have something to say (the object code's entry address, say).
        text = end == TransferEnd::Completed ? result.message : std::string();
        icon = result.leftOut.count > 0 ? platform::MessageIcon::Warning : platform::MessageIcon::None;
        break;
    }
    if (end != TransferEnd::Abandoned && !m_remarks.empty()) {
        text += (text.empty() ? "" : "\r\n\r\n") + m_remarks;
    }
    if (!text.empty()) {
        m_services.dialogs.showMessage(kMessageTitle, text, icon);
    }
    m_host.setStopVisible(false);
    m_running = false;
    if (end == TransferEnd::UnrecognisedTag) {
        m_host.endProgram();
    }
    if (end == TransferEnd::Completed && result.leftOut.count > 0) {
        return SendResult::CharactersLeftOut;
    }
    return resultFor(end);
}

} // namespace quorvane::engine
