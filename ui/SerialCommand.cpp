// The command line's serial transfer: the engine host answering from the arguments, messages on a stream.
#include "ui/SerialCommand.h"

#include "ui/SendCommand.h"
#include "ui/StreamDialogs.h"

namespace quorvane::ui {
namespace {

std::string utf8(const std::filesystem::path &path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

SendArguments withFileType(SendArguments arguments) {
    if (!arguments.fileType) {
        const std::u8string name(arguments.file.begin(), arguments.file.end());
        arguments.fileType = fileTypeForName(utf8(std::filesystem::path(name).filename()));
    }
    return arguments;
}

bool countsWords(const SendArguments &arguments) {
    return *arguments.fileType == engine::FileType::TaggedObject || *arguments.fileType == engine::FileType::HexDump;
}

const char *resultText(engine::SerialEnd end) {
    switch (end) {
    case engine::SerialEnd::Completed:
        return "done";
    case engine::SerialEnd::Stopped:
        return "stopped before the end of the file";
    case engine::SerialEnd::Abandoned:
        return "ended before the end of the file";
    case engine::SerialEnd::NothingSelected:
    case engine::SerialEnd::AlreadyRunning:
        return "nothing sent";
    case engine::SerialEnd::FileError:
        return "the file could not be read";
    case engine::SerialEnd::MalformedFile:
        return "the file is not valid for its type";
    case engine::SerialEnd::PortUnavailable:
        return "the serial port could not be opened";
    case engine::SerialEnd::NoAnswer:
        return "the board stopped answering";
    case engine::SerialEnd::LineFailed:
        return "the serial line failed";
    case engine::SerialEnd::BoardError:
        return "the board reported an error";
    case engine::SerialEnd::Mismatch:
        return "the board's memory differs from the file";
    }
    return "ended";
}

} // namespace

SerialCommand::SerialCommand(SendArguments arguments, bool verifyOnly, SerialCommandServices services,
                             std::ostream &out, std::ostream &echo, bool progressLine)
    : m_arguments(withFileType(std::move(arguments))), m_verifyOnly(verifyOnly), m_out(out), m_echo(echo),
      m_progress(services.clock, out, progressLine && !m_arguments.echo,
                 countsWords(m_arguments) ? "words confirmed" : "bytes sent"),
      m_operation(*this, {services.ports, services.pump, services.clock, *this, *this}) {
    const std::u8string name(m_arguments.file.begin(), m_arguments.file.end());
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(std::filesystem::path(name), error);
    if (error) {
        path = std::filesystem::path(name);
    }
    m_folder = utf8(path.parent_path());
    m_fileName = utf8(path.filename());
}

int SerialCommand::run() {
    if (const auto problem = sendFileProblem(m_arguments.file)) {
        m_out << "quorvane: " << *problem << '\n';
        return kExitUsage;
    }
    engine::SerialRequest request;
    request.port = *m_arguments.port;
    request.baud = m_arguments.baud;
    request.address = m_arguments.address;
    request.verify = m_arguments.verify;
    request.verifyOnly = m_verifyOnly;
    const engine::SerialEnd end = m_operation.Send(request);
    m_progress.finishLine();
    if (end == engine::SerialEnd::Completed) {
        return kExitCompleted;
    }
    m_out << "quorvane: " << resultText(end) << '\n';
    return kExitNotCompleted;
}

void SerialCommand::interrupt() {
    if (m_stopRequested) {
        m_operation.abandon();
        return;
    }
    m_stopRequested = true;
    m_stopVisible = false;
}

void SerialCommand::showMessage(std::string_view title, std::string_view text, platform::MessageIcon icon) {
    m_progress.finishLine();
    m_echo << std::flush;
    StreamDialogs(m_out).showMessage(title, text, icon);
}

void SerialCommand::boardOutput(std::string_view bytes) {
    if (m_arguments.echo) {
        m_echo << bytes << std::flush;
    }
}

int listSerialPorts(platform::SerialPorts &ports, std::ostream &out) {
    const auto found = ports.list();
    if (found.empty()) {
        out << "No serial ports found.\n";
        return kExitCompleted;
    }
    for (const platform::SerialPortInfo &port : found) {
        out << port.name;
        if (!port.description.empty()) {
            out << "  " << port.description;
        }
        out << '\n';
    }
    return kExitCompleted;
}

} // namespace quorvane::ui
