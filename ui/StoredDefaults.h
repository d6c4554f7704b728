// The default drive and folder: restored when the window loads, stored by "Set As Default Folder".
#pragma once

#include "platform/Dialogs.h"
#include "platform/Settings.h"
#include "ui/FolderBrowser.h"

#include <string>

namespace quorvane::ui {

class StoredDefaults {
public:
    StoredDefaults(platform::Settings &settings, FolderBrowser &browser, platform::Dialogs &dialogs,
                   std::string programFolder);

    // Never fails: a missing, unreadable or stale value puts the browser on the program's folder.
    void restore();
    // Stores the drive and the highlighted folder; a store that cannot be written says so in a message box.
    bool save();

private:
    void showProgramFolder();

    platform::Settings &m_settings;
    FolderBrowser &m_browser;
    platform::Dialogs &m_dialogs;
    std::string m_programFolder;
};

} // namespace quorvane::ui
