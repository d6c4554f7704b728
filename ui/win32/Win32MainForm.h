// The program's one window on Win32: the controls of the shared layout, their handlers over the shared rules,
// and the engine host that reads the controls at the moment of use.
#pragma once

#include "engine/EngineHost.h"
#include "engine/SerialSendOperation.h"
#include "platform/Settings.h"
#include "platform/win32/Win32Dialogs.h"
#include "ui/FileTypeOptions.h"
#include "ui/FolderBrowser.h"
#include "ui/StoredDefaults.h"
#include "ui/win32/Win32BrowserLists.h"
#include "ui/win32/Win32Controls.h"
#include "ui/win32/Win32ProgressDisplay.h"
#include "ui/win32/Win32SerialFrame.h"

#include <memory>

namespace quorvane::engine {
class SendDriver;
}

namespace quorvane::ui::win32 {

class Win32MainForm : public engine::EngineHost {
public:
    // Creates the window, hidden, with its controls in their state at start, and restores the default folder;
    // `programFolder` is where the browser starts when no default is stored.
    Win32MainForm(platform::Settings &settings, const std::string &programFolder);
    ~Win32MainForm() override;
    Win32MainForm(const Win32MainForm &) = delete;
    Win32MainForm &operator=(const Win32MainForm &) = delete;

    HWND window() const { return m_window; }
    platform::Dialogs &dialogs() { return *m_dialogs; }
    // `clock` times the transfers for the progress shown.
    void setSendDriver(engine::SendDriver *driver, platform::Clock &clock);
    // The serial ports that the "Serial port" choice lists and opens; without them that choice sends nothing.
    void setSerialPorts(platform::SerialPorts &ports, platform::EventPump &pump, platform::Clock &clock);
    // True once Quit, the window's close or the engine has ended the program.
    bool ended() const { return m_ending; }

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
    void holding(bool held) override;
    void endProgram() override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(const std::string &name, int code);
    void selectOption(const std::string &name);
    bool isChecked(const char *name) const;
    std::string text(const char *name) const;

    void Form_Load();
    void DriveListBox_Change();
    void FileListBox_Click();
    void FileListBox_DblClick();
    void btnSetAsDefaultFolder_Click();
    void optTIBUG_Click();
    void optEVMBUG_Click();
    void optFileType_Click(int index);
    void setFileTypeCaptions(Monitor monitor);
    void btnFileTypeHelp_Click();
    void btnSend_Click();
    void btnStop_Click();
    void sendSerial();

    HWND m_window = nullptr;
    Win32Controls m_controls;
    std::unique_ptr<platform::win32::Win32Dialogs> m_dialogs;
    std::unique_ptr<Win32DriveList> m_drives;
    std::unique_ptr<Win32FolderList> m_folders;
    std::unique_ptr<Win32FileList> m_files;
    std::unique_ptr<FolderBrowser> m_browser;
    std::unique_ptr<StoredDefaults> m_defaults;
    std::unique_ptr<Win32ProgressDisplay> m_progress;
    engine::SendDriver *m_driver = nullptr;
    std::unique_ptr<Win32SerialFrame> m_serialFrame;
    std::unique_ptr<SerialMessages> m_serialMessages;
    std::unique_ptr<engine::SerialSendOperation> m_serial;
    bool m_ending = false;
};

} // namespace quorvane::ui::win32
