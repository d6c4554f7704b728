// The window's view of a transfer, from its first progress report to its end.
#include "ui/WindowProgress.h"

#include "engine/InputFile.h"
#include "ui/SerialEnding.h"
#include "ui/TransferEnding.h"

namespace quorvane::ui {

WindowProgress::WindowProgress(platform::Clock &clock) : m_clock(clock), m_progress(clock) {}

void WindowProgress::prepare(const std::string &folder, const std::string &entry, engine::FileType fileType) {
    m_folder = folder;
    m_entry = entry;
    m_fileType = fileType;
    m_running = false;
    m_holding = false;
    m_serial = false;
    m_readBack = false;
    m_start = m_clock.now();
    m_progress.begin();
}

void WindowProgress::prepareSerial(const std::string &folder, const std::string &entry, engine::FileType fileType) {
    prepare(folder, entry, fileType);
    m_serial = true;
}

void WindowProgress::update(std::uint64_t done, std::uint64_t total) {
    // The read-back counts the same words again; its pace is its own.
    if (countsWords() && m_running && done < m_progress.done()) {
        m_readBack = true;
        m_progress.begin();
    }
    m_running = true;
    m_progress.update(done, total);
}

std::optional<std::string> WindowProgress::finish(engine::SendResult result) {
    const bool began = m_running;
    m_running = false;
    m_holding = false;
    // A Send that ends before its first report found no terminal or could not open the file.
    if (!began && result != engine::SendResult::TerminalNotFound && result != engine::SendResult::FileError) {
        return std::nullopt;
    }
    TransferOutcome outcome{result, m_entry, m_progress.done(), m_progress.total(), m_progress.elapsed(), {}};
    if (result == engine::SendResult::Stopped || result == engine::SendResult::MalformedFile) {
        outcome.position = transferPosition(engine::transferPath(m_folder, m_entry),
                                            m_fileType == engine::FileType::HexDump, outcome.done, outcome.total);
    }
    return transferEndLine(outcome);
}

WindowSendEnd WindowProgress::send(engine::SendDriver &driver, engine::EngineHost &host) {
    if (driver.running()) {
        driver.Send();
        return {};
    }
    prepare(host.folderPath(), host.selectedFile().value_or(std::string()), host.fileType());
    return {true, finish(driver.Send())};
}

std::optional<std::string> WindowProgress::finish(engine::SerialEnd end, const std::string &notes) {
    const bool began = m_running;
    m_running = false;
    if (!began && end != engine::SerialEnd::PortUnavailable && end != engine::SerialEnd::FileError) {
        return std::nullopt;
    }
    SerialTransferOutcome outcome{
        end, m_entry, countsWords(), m_readBack, m_progress.done(), m_progress.total(), m_clock.now() - m_start,
        {},  notes};
    if (end == engine::SerialEnd::Stopped && !outcome.words) {
        outcome.position =
            transferPosition(engine::transferPath(m_folder, m_entry), false, outcome.done, outcome.total);
    }
    return serialEndLine(outcome);
}

bool WindowProgress::countsWords() const {
    return m_serial && (m_fileType == engine::FileType::TaggedObject || m_fileType == engine::FileType::HexDump);
}

std::string_view WindowProgress::unit() const {
    if (!m_serial) {
        return "characters typed";
    }
    if (!countsWords()) {
        return "bytes sent";
    }
    return m_readBack ? "words read back" : "words confirmed";
}

std::string WindowProgress::title() const {
    if (m_holding) {
        return kHoldingTitle;
    }
    return m_running ? std::string(kWindowTitle) + " - " + std::to_string(percent()) + " %" : kWindowTitle;
}

} // namespace quorvane::ui
