// The chained file browser: the drive list moves the folder list, the folder list moves the file list.
#pragma once

#include "platform/Dialogs.h"
#include "ui/DirectoryListBox.h"
#include "ui/DriveListBox.h"
#include "ui/FileListBox.h"

#include <QHash>
#include <QObject>

namespace quorvane::ui {

enum class OnFailure { Report, Ignore };

class FileBrowser : public QObject {
    Q_OBJECT
public:
    FileBrowser(DriveListBox &drives, DirectoryListBox &folders, FileListBox &files, platform::Dialogs &dialogs);

    // Puts the folder list on the drive (its last folder there, else its root). A drive that cannot be
    // read leaves all three lists as they were; false then.
    bool setDrive(const QString &driveText, OnFailure onFailure);
    // Makes `path` the current folder and refills the file list; a folder that cannot be read changes nothing.
    bool setFolder(const QString &path, OnFailure onFailure);

    QString driveText() const;
    QString currentFolder() const { return m_folders.path(); }
    QString highlightedFolder() const { return m_folders.highlightedPath(); }
    // The drive list entry of the volume that holds `path`.
    QString driveTextFor(const QString &path);

private:
    void DriveListBox_Change(int index);

    DriveListBox &m_drives;
    DirectoryListBox &m_folders;
    FileListBox &m_files;
    platform::Dialogs &m_dialogs;
    QHash<QString, QString> m_lastFolderOnDrive; // drive root -> folder last shown there
};

} // namespace quorvane::ui
