// Starting quorvane.exe, finding its controls by name and working them with messages.
#include "ProgramWindow.h"

#include "ui/win32/Win32Controls.h"

#include <commctrl.h>

namespace quorvane::ui::win32::test {
namespace {

struct Search {
    const std::wstring *name;
    HWND found;
};

BOOL CALLBACK matchName(HWND child, LPARAM parameter) {
    auto *search = reinterpret_cast<Search *>(parameter);
    const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(child, kNameProperty)));
    wchar_t name[64] = {};
    if (atom != 0 && GlobalGetAtomNameW(atom, name, 64) > 0 && *search->name == name) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

std::wstring listText(HWND list, int row) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    std::wstring text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length < 0 ? 0 : length));
    return text.substr(text.find_first_not_of(L' ') == std::wstring::npos ? 0 : text.find_first_not_of(L' '));
}

} // namespace

ProgramWindow::ProgramWindow(const std::filesystem::path &program) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &m_process)) {
        return;
    }
    // Under Wine the window can be found before its controls exist: it counts once it is visible.
    waitFor(
        [&] {
            m_window = FindWindowW(kWindowClass, L"Quorvane");
            return (m_window != nullptr && IsWindowVisible(m_window)) ||
                   WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0;
        },
        10000);
    if (m_window != nullptr && !IsWindowVisible(m_window)) {
        m_window = nullptr;
    }
}

ProgramWindow::~ProgramWindow() {
    if (m_process.hProcess == nullptr) {
        return;
    }
    if (WaitForSingleObject(m_process.hProcess, 0) != WAIT_OBJECT_0) {
        if (m_window != nullptr) {
            PostMessageW(m_window, WM_CLOSE, 0, 0);
        }
        if (WaitForSingleObject(m_process.hProcess, 5000) != WAIT_OBJECT_0) {
            TerminateProcess(m_process.hProcess, 1);
        }
    }
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
}

HWND ProgramWindow::control(const std::wstring &name) const {
    Search search{&name, nullptr};
    if (m_window != nullptr) {
        EnumChildWindows(m_window, matchName, reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

std::wstring ProgramWindow::title() const {
    wchar_t title[256] = {};
    GetWindowTextW(m_window, title, 256);
    return title;
}

int ProgramWindow::position(const std::wstring &name) const {
    return static_cast<int>(SendMessageW(control(name), PBM_GETPOS, 0, 0));
}

std::wstring ProgramWindow::text(const std::wstring &name) const {
    const HWND hwnd = control(name);
    const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring value(static_cast<std::size_t>(length) + 1, L'\0');
    value.resize(
        static_cast<std::size_t>(SendMessageW(hwnd, WM_GETTEXT, value.size(), reinterpret_cast<LPARAM>(value.data()))));
    return value;
}

bool ProgramWindow::checked(const std::wstring &name) const {
    return SendMessageW(control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool ProgramWindow::enabled(const std::wstring &name) const { return IsWindowEnabled(control(name)) != FALSE; }

bool ProgramWindow::visible(const std::wstring &name) const {
    return (GetWindowLongPtrW(control(name), GWL_STYLE) & WS_VISIBLE) != 0;
}

std::vector<std::wstring> ProgramWindow::entries(const std::wstring &listName) const {
    const HWND list = control(listName);
    std::vector<std::wstring> result;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int row = 0; row < count; ++row) {
        result.push_back(listText(list, row));
    }
    return result;
}

std::wstring ProgramWindow::selected(const std::wstring &listName) const {
    const HWND list = control(listName);
    const LRESULT row = SendMessageW(list, LB_GETCURSEL, 0, 0);
    return row < 0 ? std::wstring() : listText(list, static_cast<int>(row));
}

void ProgramWindow::notify(HWND hwnd, int code) const {
    SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), reinterpret_cast<LPARAM>(hwnd));
}

void ProgramWindow::click(const std::wstring &name) const { SendMessageW(control(name), BM_CLICK, 0, 0); }

// BM_CLICK may fail while the window is not the active one (after a transfer, the terminal is); the click's
// notification is what the window's handler receives.
void ProgramWindow::postClick(const std::wstring &name) const {
    const HWND hwnd = control(name);
    PostMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd));
}

void ProgramWindow::setText(const std::wstring &name, const std::wstring &text) const {
    SendMessageW(control(name), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool ProgramWindow::highlight(const std::wstring &listName, const std::wstring &entry) const {
    const HWND list = control(listName);
    const std::vector<std::wstring> rows = entries(listName);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (rows[row] == entry) {
            SendMessageW(list, LB_SETCURSEL, row, 0);
            return true;
        }
    }
    return false;
}

bool ProgramWindow::select(const std::wstring &listName, const std::wstring &entry) const {
    if (!highlight(listName, entry)) {
        return false;
    }
    notify(control(listName), LBN_SELCHANGE);
    return true;
}

bool ProgramWindow::open(const std::wstring &listName, const std::wstring &entry) const {
    if (!highlight(listName, entry)) {
        return false;
    }
    notify(control(listName), LBN_DBLCLK);
    return true;
}

HWND ProgramWindow::messageBox() const {
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", L"Quorvane")) != nullptr) {
        if (GetWindow(box, GW_OWNER) == m_window && IsWindowVisible(box)) {
            return box;
        }
    }
    return nullptr;
}

std::wstring ProgramWindow::messageText(HWND box) {
    wchar_t text[4096] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 4096);
    return text;
}

int ProgramWindow::waitForExit(DWORD ms) const {
    if (m_process.hProcess == nullptr || WaitForSingleObject(m_process.hProcess, ms) != WAIT_OBJECT_0) {
        return -1;
    }
    DWORD code = 1;
    GetExitCodeProcess(m_process.hProcess, &code);
    return static_cast<int>(code);
}

} // namespace quorvane::ui::win32::test
