// `quorvane send FILE --port DEVICE` and `quorvane verify`: one transfer over the serial line with no window,
// messages, progress and (with --echo) the board's output on streams; and `quorvane ports`.
#pragma once

#include "engine/EngineHost.h"
#include "engine/SerialSendOperation.h"
#include "platform/Dialogs.h"
#include "ui/CommandLineArguments.h"
#include "ui/ProgressLine.h"

#include <ostream>

namespace quorvane::ui {

struct SerialCommandServices {
    platform::SerialPorts &ports;
    platform::EventPump &pump;
    platform::Clock &clock;
};

class SerialCommand : public engine::EngineHost, public platform::Dialogs, public engine::BoardOutputSink {
public:
    // Messages and the progress line go to `out`; the board's output, with --echo, to `echo`.
    SerialCommand(SendArguments arguments, bool verifyOnly, SerialCommandServices services, std::ostream &out,
                  std::ostream &echo, bool progressLine);

    // Runs the transfer; the exit status: kExitCompleted only when everything was sent and every word read back
    // matched.
    int run();
    // Ctrl+C: the first acts as STOP!, a second one abandons the transfer at once.
    void interrupt();

    std::optional<std::string> selectedFile() override { return m_fileName; }
    std::string folderPath() override { return m_folder; }
    engine::FileType fileType() override { return *m_arguments.fileType; }
    bool tibugSelected() override { return m_arguments.monitor == Monitor::Tibug; }
    std::string terminalTitleTerm() override { return {}; }
    bool ignoreAddressTags() override { return m_arguments.ignoreAddressTags; }
    std::string charFactorText() override { return m_arguments.charFactor; }
    std::string lineFactorText() override { return m_arguments.lineFactor; }
    bool stopVisible() override { return m_stopVisible; }
    void setStopVisible(bool visible) override { m_stopVisible = visible && !m_stopRequested; }
    std::string windowCaption() override { return {}; }
    void progress(std::uint64_t done, std::uint64_t total) override { m_progress.update(done, total); }
    void endProgram() override { m_operation.abandon(); }

    void showMessage(std::string_view title, std::string_view text, platform::MessageIcon icon) override;
    void boardOutput(std::string_view bytes) override;

private:
    SendArguments m_arguments;
    bool m_verifyOnly;
    std::string m_folder;
    std::string m_fileName;
    std::ostream &m_out;
    std::ostream &m_echo;
    ProgressLine m_progress;
    bool m_stopVisible = false;
    bool m_stopRequested = false;
    engine::SerialSendOperation m_operation;
};

// `quorvane ports`: one line per port, its name and, where known, its description; the exit status.
int listSerialPorts(platform::SerialPorts &ports, std::ostream &out);

} // namespace quorvane::ui
