// A running quorvane.exe driven from outside, as a test or an accessibility tool would: its controls found by
// the names they carry, read and clicked through window messages.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace quorvane::ui::win32::test {

class ProgramWindow {
public:
    // Starts the program and waits until its window is visible (ten seconds at most).
    explicit ProgramWindow(const std::filesystem::path &program);
    ~ProgramWindow();
    ProgramWindow(const ProgramWindow &) = delete;
    ProgramWindow &operator=(const ProgramWindow &) = delete;

    HWND window() const { return m_window; }
    // The control that carries `name` in its QuorvaneName property; null when there is none.
    HWND control(const std::wstring &name) const;

    std::wstring title() const;
    std::wstring text(const std::wstring &name) const;
    // A progress bar's position (PBM_GETPOS).
    int position(const std::wstring &name) const;
    bool checked(const std::wstring &name) const;
    bool enabled(const std::wstring &name) const;
    bool visible(const std::wstring &name) const; // the control's own state
    std::vector<std::wstring> entries(const std::wstring &listName) const;
    // The list's selected entry; empty when none is.
    std::wstring selected(const std::wstring &listName) const;

    // A click (BM_CLICK), handled before this returns.
    void click(const std::wstring &name) const;
    // A push button's click posted to the window, for handlers that run long (Send) or open a modal box (help).
    void postClick(const std::wstring &name) const;
    void setText(const std::wstring &name, const std::wstring &text) const;
    // Selects the entry as a click would; false when the list has no such entry.
    bool select(const std::wstring &listName, const std::wstring &entry) const;
    // Highlights the entry without opening it, as a single click on the folder list does.
    bool highlight(const std::wstring &listName, const std::wstring &entry) const;
    // Double-clicks the entry.
    bool open(const std::wstring &listName, const std::wstring &entry) const;

    // The program's open message box, titled "Quorvane"; null when none is open.
    HWND messageBox() const;
    static std::wstring messageText(HWND box);

    // Waits until the program has ended; its exit code, or -1 when it still runs after `ms`.
    int waitForExit(DWORD ms) const;

private:
    void notify(HWND control, int code) const;

    PROCESS_INFORMATION m_process{};
    HWND m_window = nullptr;
};

// Polls `done` every 10 ms for `ms` milliseconds.
template <typename Condition> bool waitFor(Condition done, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (!done()) {
        if (GetTickCount64() > end) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

} // namespace quorvane::ui::win32::test
