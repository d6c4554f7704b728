// Starting wintestwindow, finding its window, ending it behind the injected keys and reading its log.
#include "TestWindowProcess.h"

#include <fstream>
#include <sstream>

namespace quorvane::platform::win32::test {

namespace {

constexpr DWORD kWaitMs = 10000;

std::wstring quoted(const std::wstring &text) { return L"\"" + text + L"\""; }

HWND waitForWindow(const std::wstring &title, HANDLE process) {
    const ULONGLONG end = GetTickCount64() + kWaitMs;
    while (GetTickCount64() < end) {
        const HWND window = FindWindowW(L"QuorvaneTestWindow", title.c_str());
        if (window != nullptr && IsWindowVisible(window)) {
            return window;
        }
        if (WaitForSingleObject(process, 20) == WAIT_OBJECT_0) {
            return nullptr;
        }
    }
    return nullptr;
}

std::string logLinesStarting(const std::filesystem::path &log, std::string_view prefix, std::string &out) {
    std::ifstream in(log);
    std::string line;
    std::ostringstream kept;
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) == 0) {
            kept << line.substr(prefix.size()) << '\n';
        }
    }
    out = kept.str();
    return out;
}

} // namespace

TestWindowProcess::TestWindowProcess(const std::filesystem::path &program, const std::wstring &title,
                                     const std::filesystem::path &log, const std::wstring &extraArguments)
    : m_log(log) {
    std::wstring commandLine =
        quoted(program.wstring()) + L" --title " + quoted(title) + L" --log " + quoted(log.wstring());
    if (!extraArguments.empty()) {
        commandLine += L" " + extraArguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &m_process)) {
        return;
    }
    m_window = waitForWindow(title, m_process.hProcess);
}

TestWindowProcess::~TestWindowProcess() {
    if (m_process.hProcess != nullptr) {
        if (WaitForSingleObject(m_process.hProcess, 0) != WAIT_OBJECT_0) {
            TerminateProcess(m_process.hProcess, 1);
        }
        CloseHandle(m_process.hProcess);
        CloseHandle(m_process.hThread);
    }
}

bool TestWindowProcess::end() {
    if (m_process.hProcess == nullptr) {
        return false;
    }
    if (m_window != nullptr && GetForegroundWindow() == m_window) {
        INPUT f24[2]{};
        for (INPUT &input : f24) {
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = VK_F24;
        }
        f24[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, f24, sizeof(INPUT));
    } else if (m_window != nullptr) {
        PostMessageW(m_window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(m_process.hProcess, kWaitMs) != WAIT_OBJECT_0) {
        return false;
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(m_process.hProcess, &exitCode);
    return exitCode == 0;
}

std::wstring TestWindowProcess::chars() const {
    std::string units;
    logLinesStarting(m_log, "CHAR ", units);
    std::wstring text;
    std::istringstream in(units);
    std::string hex;
    while (in >> hex) {
        text.push_back(static_cast<wchar_t>(std::stoul(hex, nullptr, 16)));
    }
    return text;
}

int TestWindowProcess::keyDowns() const {
    std::string lines;
    logLinesStarting(m_log, "KEYDOWN ", lines);
    int count = 0;
    for (const char c : lines) {
        count += c == '\n' ? 1 : 0;
    }
    return count;
}

} // namespace quorvane::platform::win32::test
