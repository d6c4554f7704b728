// The chained file browser's rules: the drive list moves the folder list, the folder list moves the file list,
// and a drive or folder that cannot be read leaves all three as they were.
#pragma once

#include "platform/Dialogs.h"
#include "ui/BrowserLists.h"

#include <map>
#include <string>
#include <vector>

namespace quorvane::ui {

enum class OnFailure { Report, Ignore };

class FolderBrowser {
public:
    FolderBrowser(DriveList &drives, FolderList &folders, FileList &files, platform::Dialogs &dialogs);

    // Puts the folder list on the drive (its last folder there, else its root); false when it cannot be read.
    bool setDrive(const std::string &driveText, OnFailure onFailure);
    // Makes `path` the current folder and refills the file list; a folder that cannot be read changes nothing.
    bool setFolder(const std::string &path, OnFailure onFailure);

    // DriveListBox_Change: the user picked the entry; a drive that cannot be read puts the list back.
    void DriveListBox_Change(int index);
    // The folder list's entry opened by the user (double-click, or Enter on the highlighted one).
    void folderOpened(const std::string &path) { setFolder(path, OnFailure::Report); }

    std::string driveText() { return m_drives.textAt(m_drives.currentIndex()); }
    std::string currentFolder() { return m_folders.path(); }
    std::string highlightedFolder() { return m_folders.highlightedPath(); }
    // The drive list entry of the volume that holds `path`.
    std::string driveTextFor(const std::string &path) { return m_drives.textAt(m_drives.indexForPath(path)); }

private:
    DriveList &m_drives;
    FolderList &m_folders;
    FileList &m_files;
    platform::Dialogs &m_dialogs;
    std::map<std::string, std::string> m_lastFolderOnDrive; // drive root -> folder last shown there
};

// The folder list's lines for `folder` (absolute, normalised): its ancestors from the root down, the folder
// itself (whose index goes to `current`), then its subfolders.
std::vector<FolderEntry> folderEntries(const std::string &folder, const std::vector<std::string> &subfolders,
                                       int &current);

} // namespace quorvane::ui
