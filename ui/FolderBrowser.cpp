// The change handlers that chain the three lists, and what happens when a drive or folder cannot be read.
#include "ui/FolderBrowser.h"

#include "ui/FolderListing.h"

#include <filesystem>

namespace quorvane::ui {
namespace {

namespace fs = std::filesystem;

// Absolute, without "." or "..", in the system's own separators, and without a trailing one except at a root.
fs::path normalFolder(const std::string &path) {
    std::error_code error;
    fs::path folder = fs::absolute(pathFromUtf8(path), error).lexically_normal();
    if (!folder.has_filename() && folder.has_relative_path()) {
        folder = folder.parent_path();
    }
    return folder.make_preferred();
}

std::string entryName(const fs::path &folder) {
    return folder.has_relative_path() ? utf8(folder.filename()) : utf8(folder);
}

} // namespace

FolderBrowser::FolderBrowser(DriveList &drives, FolderList &folders, FileList &files, platform::Dialogs &dialogs)
    : m_drives(drives), m_folders(folders), m_files(files), m_dialogs(dialogs) {}

bool FolderBrowser::setDrive(const std::string &driveText, OnFailure onFailure) {
    if (const std::optional<int> index = m_drives.indexForText(driveText)) {
        const std::string root = m_drives.rootAt(*index);
        const auto last = m_lastFolderOnDrive.find(root);
        if (last != m_lastFolderOnDrive.end() && setFolder(last->second, OnFailure::Ignore)) {
            return true;
        }
        if (setFolder(root, OnFailure::Ignore)) {
            return true;
        }
    }
    if (onFailure == OnFailure::Report) {
        m_dialogs.showMessage("Quorvane", "The drive " + driveText + " cannot be read.",
                              platform::MessageIcon::Warning);
    }
    return false;
}

bool FolderBrowser::setFolder(const std::string &path, OnFailure onFailure) {
    const fs::path folder = normalFolder(path);
    const std::optional<FolderListing> listing = path.empty() ? std::nullopt : listFolder(folder);
    if (!listing) {
        if (onFailure == OnFailure::Report) {
            m_dialogs.showMessage("Quorvane",
                                  "The folder " + utf8(pathFromUtf8(path).make_preferred()) + " cannot be opened.",
                                  platform::MessageIcon::Warning);
        }
        return false;
    }
    const std::string folderText = utf8(folder);
    int current = 0;
    const std::vector<FolderEntry> entries = folderEntries(folderText, listing->folders, current);
    m_folders.showFolder(folderText, entries, current);
    // The folder list's change: the file list follows its highlighted entry, which is now the new folder.
    m_files.showFiles(m_folders.highlightedPath(), listing->files);
    const int drive = m_drives.indexForPath(folderText);
    m_drives.setCurrentIndex(drive);
    m_lastFolderOnDrive[m_drives.rootAt(drive)] = folderText;
    return true;
}

void FolderBrowser::DriveListBox_Change(int index) {
    if (!setDrive(m_drives.textAt(index), OnFailure::Report)) {
        m_drives.setCurrentIndex(m_drives.indexForPath(currentFolder()));
    }
}

std::vector<FolderEntry> folderEntries(const std::string &folder, const std::vector<std::string> &subfolders,
                                       int &current) {
    std::vector<fs::path> chain{pathFromUtf8(folder)};
    while (chain.front().has_relative_path()) {
        chain.insert(chain.begin(), chain.front().parent_path());
    }
    std::vector<FolderEntry> entries;
    for (const fs::path &open : chain) {
        entries.push_back({entryName(open), utf8(open), static_cast<int>(entries.size()), true});
    }
    current = static_cast<int>(entries.size()) - 1;
    const fs::path base = chain.back();
    for (const std::string &name : subfolders) {
        entries.push_back({name, utf8(base / pathFromUtf8(name)), current + 1, false});
    }
    return entries;
}

} // namespace quorvane::ui
