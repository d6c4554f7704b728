// The default drive and folder: restored when the window loads, stored by "Set As Default Folder"; and the serial
// port and baud rate last used, stored by a Send over the serial line.
#pragma once

#include "platform/Dialogs.h"
#include "platform/Settings.h"
#include "ui/FolderBrowser.h"
#include "ui/SerialPortChoice.h"

#include <string>

namespace quorvane::ui {

struct SerialDefaults {
    std::string port; // empty when none is stored
    unsigned baud = kDefaultBaudRate;
};

class StoredDefaults {
public:
    StoredDefaults(platform::Settings &settings, FolderBrowser &browser, platform::Dialogs &dialogs,
                   std::string programFolder);

    // Never fails: a missing, unreadable or stale value puts the browser on the program's folder.
    void restore();
    // Stores the drive and the highlighted folder; a store that cannot be written says so in a message box.
    bool save();

    // A stored baud rate that is not one (a hand-edited file) gives the default rate.
    SerialDefaults serialDefaults();
    // False when the store could not be written.
    bool saveSerial(const SerialDefaults &serial);

private:
    void showProgramFolder();

    platform::Settings &m_settings;
    FolderBrowser &m_browser;
    platform::Dialogs &m_dialogs;
    std::string m_programFolder;
};

} // namespace quorvane::ui
