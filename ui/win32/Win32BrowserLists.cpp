// Filling the browser's list controls and reading them back.
#include "ui/win32/Win32BrowserLists.h"

#include "platform/win32/Win32Text.h"

#include <cwctype>

namespace quorvane::ui::win32 {
namespace {

using platform::win32::toUtf8;
using platform::win32::toWide;

std::wstring itemText(HWND list, UINT lengthMessage, UINT textMessage, int index) {
    const LRESULT length = SendMessageW(list, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length < 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// "C:\" gives "c:" and the volume's label in brackets, as the drive lists of Windows programs show them.
std::wstring driveText(const std::wstring &root) {
    std::wstring text{static_cast<wchar_t>(std::towlower(root[0])), L':'};
    const UINT type = GetDriveTypeW(root.c_str());
    // Asking a network drive for its label can take seconds; an empty removable drive answers at once.
    if (type == DRIVE_REMOTE || type == DRIVE_NO_ROOT_DIR) {
        return text;
    }
    wchar_t label[MAX_PATH + 1] = {};
    if (GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) &&
        label[0] != L'\0') {
        text += L" [" + std::wstring(label) + L"]";
    }
    return text;
}

// The root of the drive that holds a path: "C:\" for a drive letter, "\\server\share\" for a network path.
std::wstring rootOf(const std::wstring &path) {
    if (path.size() >= 2 && path[1] == L':') {
        return {static_cast<wchar_t>(std::towupper(path[0])), L':', L'\\'};
    }
    if (path.rfind(L"\\\\", 0) == 0) {
        const std::size_t server = path.find(L'\\', 2);
        const std::size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        return (share == std::wstring::npos ? path : path.substr(0, share)) + L"\\";
    }
    return path;
}

} // namespace

void Win32DriveList::refresh() {
    const std::wstring current = m_current >= 0 ? m_roots[static_cast<std::size_t>(m_current)] : std::wstring();
    SendMessageW(m_combo, CB_RESETCONTENT, 0, 0);
    m_roots.clear();
    m_current = -1;
    // No "insert a disk" box for an empty floppy or card reader.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    wchar_t roots[512] = {};
    const DWORD length = GetLogicalDriveStringsW(511, roots);
    for (const wchar_t *root = roots; length > 0 && length < 512 && *root != L'\0'; root += wcslen(root) + 1) {
        add(root, driveText(root));
    }
    SetErrorMode(previousMode);
    if (!current.empty()) {
        setCurrentIndex(indexForPath(toUtf8(current)));
    }
}

int Win32DriveList::pickedIndex() const { return static_cast<int>(SendMessageW(m_combo, CB_GETCURSEL, 0, 0)); }

std::optional<int> Win32DriveList::indexForText(std::string_view text) {
    const std::wstring wide = toWide(text);
    for (std::size_t i = 0; i < m_roots.size(); ++i) {
        if (textAt(static_cast<int>(i)) == text) {
            return static_cast<int>(i);
        }
    }
    // Stored by an entry whose label has changed since: the drive letter and colon are what count.
    if (wide.size() >= 2 && wide[1] == L':') {
        for (std::size_t i = 0; i < m_roots.size(); ++i) {
            if (std::towupper(m_roots[i][0]) == std::towupper(wide[0]) && m_roots[i][1] == L':') {
                return static_cast<int>(i);
            }
        }
    }
    return std::nullopt;
}

int Win32DriveList::indexForPath(const std::string &path) {
    const std::wstring root = rootOf(toWide(path));
    for (std::size_t i = 0; i < m_roots.size(); ++i) {
        if (CompareStringOrdinal(m_roots[i].c_str(), -1, root.c_str(), -1, TRUE) == CSTR_EQUAL) {
            return static_cast<int>(i);
        }
    }
    return add(root, root.size() == 3 && root[1] == L':' ? driveText(root) : root);
}

std::string Win32DriveList::rootAt(int index) {
    return index >= 0 && index < static_cast<int>(m_roots.size()) ? toUtf8(m_roots[static_cast<std::size_t>(index)])
                                                                  : std::string();
}

std::string Win32DriveList::textAt(int index) {
    return toUtf8(itemText(m_combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index));
}

void Win32DriveList::setCurrentIndex(int index) {
    m_current = index;
    SendMessageW(m_combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Win32DriveList::add(const std::wstring &root, const std::wstring &text) {
    m_roots.push_back(root);
    return static_cast<int>(SendMessageW(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void Win32FolderList::showFolder(const std::string &path, const std::vector<FolderEntry> &entries, int current) {
    m_path = path;
    m_paths.clear();
    SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(m_list, LB_RESETCONTENT, 0, 0);
    for (const FolderEntry &entry : entries) {
        const std::wstring text = std::wstring(static_cast<std::size_t>(entry.depth) * 2, L' ') + toWide(entry.name);
        SendMessageW(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        m_paths.push_back(entry.path);
    }
    SendMessageW(m_list, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
    SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_list, nullptr, TRUE);
}

std::string Win32FolderList::highlightedPath() {
    const LRESULT row = SendMessageW(m_list, LB_GETCURSEL, 0, 0);
    return row >= 0 && row < static_cast<LRESULT>(m_paths.size()) ? m_paths[static_cast<std::size_t>(row)] : m_path;
}

void Win32FileList::showFiles(const std::string &, const std::vector<std::string> &names) {
    SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(m_list, LB_RESETCONTENT, 0, 0);
    for (const std::string &name : names) {
        SendMessageW(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(name).c_str()));
    }
    SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_list, nullptr, TRUE);
}

std::optional<std::string> Win32FileList::selectedName() const {
    const LRESULT row = SendMessageW(m_list, LB_GETCURSEL, 0, 0);
    if (row < 0) {
        return std::nullopt;
    }
    return toUtf8(itemText(m_list, LB_GETTEXTLEN, LB_GETTEXT, static_cast<int>(row)));
}

} // namespace quorvane::ui::win32
