// The window's view of a transfer, from its first progress report to its end.
#include "ui/WindowProgress.h"

#include "engine/InputFile.h"
#include "ui/TransferEnding.h"

namespace quorvane::ui {

WindowProgress::WindowProgress(platform::Clock &clock) : m_progress(clock) {}

void WindowProgress::prepare(const std::string &folder, const std::string &entry, engine::FileType fileType) {
    m_folder = folder;
    m_entry = entry;
    m_fileType = fileType;
    m_running = false;
    m_holding = false;
    m_progress.begin();
}

void WindowProgress::update(std::uint64_t done, std::uint64_t total) {
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

std::string WindowProgress::title() const {
    if (m_holding) {
        return kHoldingTitle;
    }
    return m_running ? std::string(kWindowTitle) + " - " + std::to_string(percent()) + " %" : kWindowTitle;
}

} // namespace quorvane::ui
