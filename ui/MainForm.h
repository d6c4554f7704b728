// The program's one window: its controls, their handlers, and the engine host that reads them at the moment of use.
#pragma once

#include "engine/EngineHost.h"
#include "engine/SerialSendOperation.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Settings.h"
#include "ui/FileBrowser.h"
#include "ui/MainFormControls.h"
#include "ui/SerialPortChoice.h"
#include "ui/StoredDefaults.h"
#include "ui/WindowProgress.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace quorvane::engine {
class SendDriver;
}

namespace quorvane::ui {

class MainForm : public QWidget, public engine::EngineHost, public engine::BoardOutputSink {
    Q_OBJECT
public:
    // Creates the controls in their state at start and restores the default folder; `programFolder` is where
    // the browser starts when no default is stored.
    MainForm(platform::Dialogs &dialogs, platform::Settings &settings, const QString &programFolder,
             QWidget *parent = nullptr);
    ~MainForm() override;

    // The engine that runs the Send operation; it needs this window as its host, so it comes after it.
    // `clock` times the transfers for the progress shown.
    void setSendDriver(engine::SendDriver *driver, platform::Clock &clock);
    // The serial ports that the "Serial port" choice lists and opens; without them that choice sends nothing.
    void setSerialPorts(platform::SerialPorts &ports, platform::EventPump &pump, platform::Clock &clock);
    // How the program ends at once; by default the application's event loop is left.
    void setProgramEnd(std::function<void()> end) { m_programEnd = std::move(end); }

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
    void holding(bool held) override;
    void endProgram() override;
    void boardOutput(std::string_view bytes) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void connectHandlers();
    void Form_Load();
    void FileListBox_Click();
    void FileListBox_DblClick();
    void btnSetAsDefaultFolder_Click();
    void optTIBUG_Click();
    void optEVMBUG_Click();
    void optFileType_Click(int index);
    void btnFileTypeHelp_Click();
    void btnSend_Click();
    void optSerialPort_Click();
    void btnRefreshPorts_Click();
    void sendSerial();
    void showSerialOptions();
    void btnStop_Click();
    void btnQuit_Click();
    void setFileTypeCaptions(Monitor monitor);
    void showProgress();
    void showTransferEnd(const std::optional<std::string> &line);

    platform::Dialogs &m_dialogs;
    MainFormControls m_controls;
    std::unique_ptr<FileBrowser> m_browser;
    std::unique_ptr<StoredDefaults> m_defaults;
    engine::SendDriver *m_driver = nullptr;
    std::unique_ptr<WindowProgress> m_progress;
    std::function<void()> m_programEnd;
    platform::SerialPorts *m_ports = nullptr;
    std::vector<platform::SerialPortInfo> m_listedPorts;
    std::unique_ptr<SerialMessages> m_serialMessages;
    std::unique_ptr<engine::SerialSendOperation> m_serial;
    BoardOutputText m_outputText;
    bool m_ending = false;
};

} // namespace quorvane::ui
