// The command line's transfer: the engine host that answers from the arguments, and messages on a stream.
#include "ui/SendCommand.h"

#include "engine/SendOperation.h"

#include <filesystem>

namespace quorvane::ui {
namespace {

std::string utf8(const std::filesystem::path &path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

const char *resultText(engine::SendResult result) {
    switch (result) {
    case engine::SendResult::Completed:
        return "the whole file was typed";
    case engine::SendResult::Stopped:
        return "stopped before the end of the file";
    case engine::SendResult::NothingSelected:
        return "no file to send";
    case engine::SendResult::AlreadyRunning:
        return "a transfer was already running";
    case engine::SendResult::TerminalNotFound:
        return "the terminal window was not found";
    case engine::SendResult::FileError:
        return "the file could not be read";
    case engine::SendResult::MalformedFile:
        return "the file is not valid for its type";
    case engine::SendResult::TerminalLost:
        return "the terminal window lost the keyboard focus";
    case engine::SendResult::Untypable:
        return "a character of the file could not be typed";
    case engine::SendResult::Abandoned:
        return "ended before the end of the file";
    case engine::SendResult::CharactersLeftOut:
        return "characters that no key produces were left out";
    }
    return "ended";
}

// The window's messages speak of its OK button; on a console the same advice is worded without it.
std::string consoleWording(std::string_view text, const std::string &titleTerm) {
    if (text == engine::kTerminalNotRunningText) {
        return "The selected terminal emulator application is not running: no window's title contains \"" + titleTerm +
               "\". Start the terminal emulator application, then try again.";
    }
    return std::string(text);
}

} // namespace

std::optional<std::string> sendFileProblem(const std::string &file) {
    const std::u8string name(file.begin(), file.end());
    std::error_code error;
    const auto status = std::filesystem::status(std::filesystem::path(name), error);
    if (!std::filesystem::exists(status)) {
        return "no such file: " + file;
    }
    if (!std::filesystem::is_regular_file(status)) {
        return "not a regular file: " + file;
    }
    return std::nullopt;
}

SendCommand::SendCommand(SendArguments arguments, engine::EngineServices services, std::ostream &out, bool progressLine)
    : m_arguments(std::move(arguments)), m_out(out), m_messages(services.dialogs),
      m_progress(services.clock, out, progressLine) {
    const std::u8string name(m_arguments.file.begin(), m_arguments.file.end());
    std::error_code error;
    m_path = std::filesystem::absolute(std::filesystem::path(name), error);
    if (error) {
        m_path = std::filesystem::path(name);
    }
    m_folder = utf8(m_path.parent_path());
    m_fileName = utf8(m_path.filename());
    if (!m_arguments.fileType) {
        m_arguments.fileType = fileTypeForName(m_fileName);
    }
    m_driver = std::make_unique<engine::SendDriver>(
        *this, engine::EngineServices{services.desktop, services.layout, services.injector, services.pump,
                                      services.delayTimer, services.clock, *this});
}

SendCommand::~SendCommand() = default;

int SendCommand::run() {
    if (const auto problem = sendFileProblem(m_arguments.file)) {
        m_out << "quorvane: " << *problem << '\n';
        return kExitUsage;
    }
    const engine::SendResult result = m_driver->Send();
    m_progress.finishLine();
    if (result == engine::SendResult::Completed) {
        return kExitCompleted;
    }
    m_out << "quorvane: " << resultText(result) << '\n';
    return kExitNotCompleted;
}

void SendCommand::interrupt() {
    if (m_stopRequested) {
        end();
        return;
    }
    m_stopRequested = true;
    m_stopVisible = false;
}

void SendCommand::end() {
    m_stopRequested = true;
    m_stopVisible = false;
    m_driver->abandon();
}

std::optional<std::string> SendCommand::selectedFile() { return m_fileName; }
std::string SendCommand::folderPath() { return m_folder; }
engine::FileType SendCommand::fileType() { return *m_arguments.fileType; }
bool SendCommand::tibugSelected() { return m_arguments.monitor == Monitor::Tibug; }
std::string SendCommand::terminalTitleTerm() { return m_arguments.terminalTitleTerm; }
bool SendCommand::ignoreAddressTags() { return m_arguments.ignoreAddressTags; }
std::string SendCommand::charFactorText() { return m_arguments.charFactor; }
std::string SendCommand::lineFactorText() { return m_arguments.lineFactor; }
bool SendCommand::stopVisible() { return m_stopVisible; }

// A Ctrl+C that came before the transfer showed its STOP! still counts: the transfer stops at its first check.
void SendCommand::setStopVisible(bool visible) { m_stopVisible = visible && !m_stopRequested; }

std::string SendCommand::windowCaption() { return {}; }

void SendCommand::progress(std::uint64_t done, std::uint64_t total) { m_progress.update(done, total); }

void SendCommand::notice(std::string_view text) {
    m_progress.finishLine();
    m_out << "quorvane: note: " << text << '\n' << std::flush;
}

void SendCommand::endProgram() { m_driver->abandon(); }

void SendCommand::showMessage(std::string_view title, std::string_view text, platform::MessageIcon icon) {
    m_progress.finishLine();
    m_messages.showMessage(title, consoleWording(text, m_arguments.terminalTitleTerm), icon);
}

} // namespace quorvane::ui
