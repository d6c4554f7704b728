// A running wintestwindow program: its window, and the characters it logged once it has ended.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace quorvane::platform::win32::test {

class TestWindowProcess {
public:
    // `extraArguments` go on the command line as they stand (for example "--board --start loader").
    TestWindowProcess(const std::filesystem::path &program, const std::wstring &title, const std::filesystem::path &log,
                      const std::wstring &extraArguments = {});
    ~TestWindowProcess();
    TestWindowProcess(const TestWindowProcess &) = delete;
    TestWindowProcess &operator=(const TestWindowProcess &) = delete;

    // Null when the program did not start or its window did not appear within ten seconds.
    HWND window() const { return m_window; }

    // Ends the program after everything queued for it has been handled: when its window has the focus,
    // through an F24 press behind the keys already injected; otherwise by closing the window.
    bool end();

    // The WM_CHAR units it logged, in order (valid after end()).
    std::wstring chars() const;
    // How many WM_KEYDOWN lines it logged (valid after end()).
    int keyDowns() const;

private:
    std::filesystem::path m_log;
    PROCESS_INFORMATION m_process{};
    HWND m_window = nullptr;
};

} // namespace quorvane::platform::win32::test
