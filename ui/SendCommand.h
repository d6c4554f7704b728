// `quorvane send`: one transfer through the upload engine with no window, messages and progress on a stream.
#pragma once

#include "engine/EngineHost.h"
#include "engine/SendDriver.h"
#include "platform/Dialogs.h"
#include "ui/CommandLineArguments.h"
#include "ui/ProgressLine.h"

#include <filesystem>
#include <memory>
#include <ostream>

namespace quorvane::ui {

// Why FILE cannot be sent, as one line for the console (its exit status is kExitUsage); nothing when it is a
// regular file. Checked before the desktop is opened, so that the answer does not depend on a display.
std::optional<std::string> sendFileProblem(const std::string &file);

class SendCommand : public engine::EngineHost, public platform::Dialogs {
public:
    // The engine's messages go to `services.dialogs` (a StreamDialogs on `out`, say), each after the progress line
    // has been ended. `progressLine`: the output is a terminal, so a progress line is kept up to date on it.
    SendCommand(SendArguments arguments, engine::EngineServices services, std::ostream &out, bool progressLine);
    ~SendCommand() override;

    // Runs the transfer; the exit status: kExitCompleted only when the whole file was typed.
    int run();
    // Ctrl+C: the first acts as STOP!, a second one abandons the transfer at once.
    void interrupt();
    // A request to end (SIGTERM, SIGHUP, ...): the transfer is abandoned at once, the keyboard left as it was.
    void end();
    // The terminal's width, which the progress line keeps within.
    void setTerminalColumns(std::function<std::size_t()> columns) { m_progress.setColumns(std::move(columns)); }

    std::optional<std::string> selectedFile() override;
    std::string folderPath() override;
    engine::FileType fileType() override;
    bool tibugSelected() override;
    std::string terminalTitleTerm() override;
    bool ignoreAddressTags() override;
    std::string charFactorText() override;
    std::string lineFactorText() override;
    bool stopVisible() override;
    void setStopVisible(bool visible) override;
    std::string windowCaption() override;
    void progress(std::uint64_t done, std::uint64_t total) override;
    void notice(std::string_view text) override;
    void endProgram() override;

    void showMessage(std::string_view title, std::string_view text, platform::MessageIcon icon) override;

private:
    SendArguments m_arguments;
    std::filesystem::path m_path;
    std::string m_folder;
    std::string m_fileName;
    std::ostream &m_out;
    platform::Dialogs &m_messages;
    ProgressLine m_progress;
    bool m_stopVisible = false;
    bool m_stopRequested = false;
    std::unique_ptr<engine::SendDriver> m_driver;
};

} // namespace quorvane::ui
