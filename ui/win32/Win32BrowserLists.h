// The three browser lists on Win32 controls: the drives Windows reports ("c: [System]"), the folder list with
// ancestors, current folder and subfolders, and the file list.
#pragma once

#include "ui/BrowserLists.h"

#include <windows.h>

namespace quorvane::ui::win32 {

class Win32DriveList : public DriveList {
public:
    explicit Win32DriveList(HWND combo) : m_combo(combo) { refresh(); }

    // Reads the drives again, keeping the current one selected.
    void refresh();
    // The entry the user has picked in the control, which becomes current only once the browser accepts it.
    int pickedIndex() const;

    std::optional<int> indexForText(std::string_view text) override;
    int indexForPath(const std::string &path) override;
    std::string rootAt(int index) override;
    std::string textAt(int index) override;
    int currentIndex() override { return m_current; }
    void setCurrentIndex(int index) override;

private:
    int add(const std::wstring &root, const std::wstring &text);

    HWND m_combo;
    std::vector<std::wstring> m_roots;
    int m_current = -1;
};

class Win32FolderList : public FolderList {
public:
    explicit Win32FolderList(HWND list) : m_list(list) {}

    void showFolder(const std::string &path, const std::vector<FolderEntry> &entries, int current) override;
    std::string path() override { return m_path; }
    std::string highlightedPath() override;

private:
    HWND m_list;
    std::string m_path;
    std::vector<std::string> m_paths;
};

class Win32FileList : public FileList {
public:
    explicit Win32FileList(HWND list) : m_list(list) {}

    void showFiles(const std::string &folder, const std::vector<std::string> &names) override;
    // The bare name of the selected entry.
    std::optional<std::string> selectedName() const;

private:
    HWND m_list;
};

} // namespace quorvane::ui::win32
