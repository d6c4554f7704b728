// The Send operation: selection check, window walk, open, activation, initial wait, the sender and the common end.
#include "engine/SendOperation.h"

#include "engine/InputFile.h"
#include "engine/LineReader.h"
#include "engine/ObjectFileCheck.h"

namespace quorvane::engine {

namespace {

constexpr std::string_view kTeraTerm = "Tera Term";
constexpr std::string_view kHyperTerminal = "HyperTerminal";

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
            if (window.title.find(kTeraTerm) != std::string::npos) {
                found.teraTerm = window.id;
            }
            if (window.title.find(kHyperTerminal) != std::string::npos) {
                found.hyperTerminal = window.id;
            }
            if (otherTerm && window.title.find(found.term) != std::string::npos) {
                found.other = window.id;
            }
        }
        m_services.pump.processPendingEvents();
        if (m_pacer.abandoned()) {
            break;
        }
    }
    return found;
}

std::optional<platform::WindowId> SendOperation::chosenTerminal(const Terminals &terminals) {
    const std::string term = m_host.terminalTitleTerm();
    if (term == kTeraTerm) {
        return terminals.teraTerm;
    }
    if (term == kHyperTerminal) {
        return terminals.hyperTerminal;
    }
    return term == terminals.term ? terminals.other : std::nullopt;
}

std::optional<platform::WindowId> SendOperation::ActivateTerminal(const Terminals &terminals) {
    const std::optional<platform::WindowId> terminal = chosenTerminal(terminals);
    if (!terminal || !m_services.desktop.activate(*terminal)) {
        return std::nullopt;
    }
    m_services.injector.restrictTo(*terminal);
    return terminal;
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
    m_pacer.Delay(1.0f, 1.0f);
    TransferContext context(m_host, m_pacer, m_sink, m_services.injector, m_services.desktop, *terminal);
    SenderResult result = fileType == FileType::Loader         ? SendLoaderFile(context, file)
                          : fileType == FileType::TaggedObject ? SendTaggedObjectFile(context, file)
                                                               : SendTextFile(context, file);
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
    auto &dialogs = m_services.dialogs;
    switch (end) {
    case TransferEnd::TerminalNotFound:
        dialogs.showMessage(kMessageTitle, kTerminalNotRunningText, platform::MessageIcon::None);
        break;
    case TransferEnd::TerminalLost:
        dialogs.showMessage(kMessageTitle, kTerminalLostText, platform::MessageIcon::Error);
        break;
    case TransferEnd::ReadFailed:
        dialogs.showMessage(kMessageTitle,
                            "The file \"" + displayPath(path) + "\" could not be read: " + result.message + ".",
                            platform::MessageIcon::Error);
        break;
    case TransferEnd::Malformed:
    case TransferEnd::Untypable:
        dialogs.showMessage(kMessageTitle, result.message, platform::MessageIcon::Error);
        break;
    case TransferEnd::UnrecognisedTag:
        dialogs.showMessage(kMessageTitle, result.message, platform::MessageIcon::Error);
        break;
    case TransferEnd::Completed:
        if (!result.message.empty()) {
            dialogs.showMessage(kMessageTitle, result.message, platform::MessageIcon::None);
        }
        break;
    default:
        break;
    }
    m_host.setStopVisible(false);
    m_running = false;
    if (end == TransferEnd::UnrecognisedTag) {
        m_host.endProgram();
    }
    return resultFor(end);
}

} // namespace quorvane::engine
