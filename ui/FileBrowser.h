// The file browser on Qt: the three list widgets wired to the browser's rules.
#pragma once

#include "platform/Dialogs.h"
#include "ui/DirectoryListBox.h"
#include "ui/DriveListBox.h"
#include "ui/FileListBox.h"
#include "ui/FolderBrowser.h"

#include <QObject>

namespace quorvane::ui {

class FileBrowser : public QObject {
    Q_OBJECT
public:
    FileBrowser(DriveListBox &drives, DirectoryListBox &folders, FileListBox &files, platform::Dialogs &dialogs);

    FolderBrowser &rules() { return m_rules; }

private:
    FolderBrowser m_rules;
};

} // namespace quorvane::ui
