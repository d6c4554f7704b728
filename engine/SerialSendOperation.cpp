// A serial Send from the selection to its end: read the file whole (monitor transfers) or open it (the others),
// open the port, run the transfer and its read-back, and say how it ended.
#include "engine/SerialSendOperation.h"

#include "engine/InputFile.h"
#include "engine/SendOperation.h"
#include "engine/SerialTransfers.h"

namespace quorvane::engine {

namespace {

SerialEnd endFor(TransferEnd end) {
    switch (end) {
    case TransferEnd::Completed:
        return SerialEnd::Completed;
    case TransferEnd::ReadFailed:
        return SerialEnd::FileError;
    default:
        return SerialEnd::MalformedFile;
    }
}

} // namespace

struct SerialSendOperation::Outcome : SerialOutcome {
    bool unrecognisedTag = false;
};

void SerialSendOperation::abandon() {
    m_abandoned = true;
    if (m_link) {
        m_link->abandon();
    }
}

SerialEnd SerialSendOperation::Send(const SerialRequest &request) {
    if (m_running) {
        return SerialEnd::AlreadyRunning;
    }
    if (!m_host.selectedFile()) {
        m_services.dialogs.showMessage(kMessageTitle, kNothingSelectedText, platform::MessageIcon::Warning);
        return SerialEnd::NothingSelected;
    }
    m_running = true;
    m_abandoned = false;
    m_host.setStopVisible(true);
    return finish(run(request));
}

SerialSendOperation::Outcome SerialSendOperation::run(const SerialRequest &request) {
    const FileType type = m_host.fileType();
    const bool monitorTransfer = type == FileType::TaggedObject || type == FileType::HexDump;
    if (request.verifyOnly && !monitorTransfer) {
        return {{SerialEnd::MalformedFile, std::string(kVerifyNeedsMonitorText)}};
    }
    std::string error;
    if (monitorTransfer) {
        return runMonitorTransfer(request, error);
    }
    const auto line = m_services.ports.open(request.port, request.baud, error);
    if (!line) {
        return {{SerialEnd::PortUnavailable, error}};
    }
    SerialLink link(*line, m_services.pump, m_services.clock, m_services.boardOutput, request.baud);
    m_link = &link;
    Outcome outcome = runLineTransfer(link, type == FileType::Loader);
    m_link = nullptr;
    return outcome;
}

SerialSendOperation::Outcome SerialSendOperation::runMonitorTransfer(const SerialRequest &request, std::string &error) {
    const auto path = transferPath(m_host.folderPath(), *m_host.selectedFile());
    LoadPlan plan;
    SenderResult read;
    if (m_host.fileType() == FileType::HexDump) {
        if (!request.address) {
            return {{SerialEnd::MalformedFile, std::string(kNeedsAddressText)}};
        }
        read = readHexDumpPlan(path, *request.address, plan);
    } else {
        read = readObjectPlan(path, m_host.ignoreAddressTags(), request.address, plan);
    }
    if (read.end != TransferEnd::Completed) {
        const std::string message =
            read.end == TransferEnd::ReadFailed
                ? "The file \"" + displayPath(path) + "\" could not be read: " + read.message + "."
                : read.message;
        return {{endFor(read.end), message}, read.end == TransferEnd::UnrecognisedTag};
    }
    const auto line = m_services.ports.open(request.port, request.baud, error);
    if (!line) {
        return {{SerialEnd::PortUnavailable, error}};
    }
    SerialLink link(*line, m_services.pump, m_services.clock, m_services.boardOutput, request.baud);
    m_link = &link;
    MonitorDialogue monitor(link, m_host.tibugSelected());
    SerialOutcome outcome;
    if (!request.verifyOnly) {
        outcome = loadThroughMonitor(monitor, link, m_host, plan);
    }
    if (outcome.end == SerialEnd::Completed && (request.verify || request.verifyOnly)) {
        outcome = verifyThroughMonitor(monitor, link, m_host, plan);
    }
    m_link = nullptr;
    // Named only once the program is in memory as the file has it, as after the typed transfer.
    if (outcome.end == SerialEnd::Completed && !request.verifyOnly && !plan.entryNotice.empty()) {
        outcome.message += (outcome.message.empty() ? "" : "\r\n\r\n") + plan.entryNotice;
    }
    return {outcome};
}

SerialSendOperation::Outcome SerialSendOperation::runLineTransfer(SerialLink &link, bool loader) {
    const auto path = transferPath(m_host.folderPath(), *m_host.selectedFile());
    LineReader file;
    std::string reason;
    if (!file.open(path, reason)) {
        return {{SerialEnd::FileError, "The file \"" + displayPath(path) + "\" could not be read: " + reason + "."}};
    }
    m_host.progress(0, file.size());
    SerialOutcome outcome = sendLinesOverSerial(link, m_host, file, loader);
    if (outcome.end == SerialEnd::FileError) {
        outcome.message = "The file \"" + displayPath(path) + "\" could not be read: " + outcome.message + ".";
    }
    return {outcome};
}

// Every way a serial Send ends comes through here, so STOP! is hidden whenever nothing runs.
SerialEnd SerialSendOperation::finish(const Outcome &outcome) {
    const SerialEnd end = m_abandoned ? SerialEnd::Abandoned : outcome.end;
    if (end != SerialEnd::Abandoned && !outcome.message.empty()) {
        m_services.dialogs.showMessage(kMessageTitle, outcome.message,
                                       end == SerialEnd::Completed ? platform::MessageIcon::None
                                                                   : platform::MessageIcon::Error);
    }
    m_host.setStopVisible(false);
    m_running = false;
    if (outcome.unrecognisedTag && end != SerialEnd::Abandoned) {
        m_host.endProgram();
    }
    return end;
}

} // namespace quorvane::engine
