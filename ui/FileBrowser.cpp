// The change handlers that chain the three lists, and what happens when a drive or folder cannot be read.
#include "ui/FileBrowser.h"

#include "ui/FolderListing.h"

#include <QDir>
#include <QFileInfo>

namespace quorvane::ui {

FileBrowser::FileBrowser(DriveListBox &drives, DirectoryListBox &folders, FileListBox &files,
                         platform::Dialogs &dialogs)
    : m_drives(drives), m_folders(folders), m_files(files), m_dialogs(dialogs) {
    connect(&m_drives, &QComboBox::activated, this, &FileBrowser::DriveListBox_Change);
    connect(&m_folders, &DirectoryListBox::openRequested, this,
            [this](const QString &path) { setFolder(path, OnFailure::Report); });
}

bool FileBrowser::setDrive(const QString &driveText, OnFailure onFailure) {
    const std::optional<int> index = m_drives.indexForText(driveText);
    if (index) {
        const QString root = m_drives.rootAt(*index);
        const QString last = m_lastFolderOnDrive.value(root);
        if (!last.isEmpty() && setFolder(last, OnFailure::Ignore)) {
            return true;
        }
        if (setFolder(root, OnFailure::Ignore)) {
            return true;
        }
    }
    if (onFailure == OnFailure::Report) {
        m_dialogs.showMessage("Quorvane", ("The drive " + driveText + " cannot be read.").toStdString(),
                              platform::MessageIcon::Warning);
    }
    return false;
}

bool FileBrowser::setFolder(const QString &path, OnFailure onFailure) {
    const QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const std::optional<FolderListing> listing = path.isEmpty() ? std::nullopt : listFolder(folder);
    if (!listing) {
        if (onFailure == OnFailure::Report) {
            m_dialogs.showMessage("Quorvane",
                                  ("The folder " + QDir::toNativeSeparators(path) + " cannot be opened.").toStdString(),
                                  platform::MessageIcon::Warning);
        }
        return false;
    }
    m_folders.showFolder(folder, listing->folders);
    // The folder list's change: the file list follows its highlighted entry, which is now the new folder.
    m_files.showFiles(m_folders.highlightedPath(), listing->files);
    const int drive = m_drives.indexForPath(folder);
    m_drives.setCurrentIndex(drive);
    m_lastFolderOnDrive.insert(m_drives.rootAt(drive), folder);
    return true;
}

QString FileBrowser::driveText() const { return m_drives.currentText(); }

QString FileBrowser::driveTextFor(const QString &path) { return m_drives.itemText(m_drives.indexForPath(path)); }

void FileBrowser::DriveListBox_Change(int index) {
    if (!setDrive(m_drives.itemText(index), OnFailure::Report)) {
        m_drives.setCurrentIndex(m_drives.indexForPath(currentFolder()));
    }
}

} // namespace quorvane::ui
