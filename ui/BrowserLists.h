// The three lists of the file browser as its rules reach them, whatever toolkit draws them. Texts and paths are
// UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::ui {

class DriveList {
public:
    virtual ~DriveList() = default;
    // The entry for a stored entry text, matched exactly or by its volume (a label may have changed since).
    virtual std::optional<int> indexForText(std::string_view text) = 0;
    // The entry of the volume that holds `path`, added when the list lacks it.
    virtual int indexForPath(const std::string &path) = 0;
    virtual std::string rootAt(int index) = 0;
    virtual std::string textAt(int index) = 0;
    virtual int currentIndex() = 0;
    // Selects an entry without raising the list's change event.
    virtual void setCurrentIndex(int index) = 0;
};

// One line of the folder list: the folders above the current one, the current folder, its subfolders.
struct FolderEntry {
    std::string name;
    std::string path;
    int depth = 0;
    bool open = false; // an ancestor or the current folder
};

class FolderList {
public:
    virtual ~FolderList() = default;
    // Shows the entries with the current one highlighted.
    virtual void showFolder(const std::string &path, const std::vector<FolderEntry> &entries, int current) = 0;
    // The current folder: the one last opened.
    virtual std::string path() = 0;
    // The highlighted entry's folder; the current folder until the user single-clicks another entry.
    virtual std::string highlightedPath() = 0;
};

class FileList {
public:
    virtual ~FileList() = default;
    // Refills the list; nothing is selected afterwards.
    virtual void showFiles(const std::string &folder, const std::vector<std::string> &names) = 0;
};

} // namespace quorvane::ui
