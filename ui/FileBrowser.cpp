// The list widgets' events that move the browser.
#include "ui/FileBrowser.h"

namespace quorvane::ui {

FileBrowser::FileBrowser(DriveListBox &drives, DirectoryListBox &folders, FileListBox &files,
                         platform::Dialogs &dialogs)
    : m_rules(drives, folders, files, dialogs) {
    connect(&drives, &QComboBox::activated, this, [this](int index) { m_rules.DriveListBox_Change(index); });
    connect(&folders, &DirectoryListBox::openRequested, this,
            [this](const std::string &path) { m_rules.folderOpened(path); });
}

} // namespace quorvane::ui
