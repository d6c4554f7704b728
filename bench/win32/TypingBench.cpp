// A text transfer at factors 0 through quorvane-cli.exe into wintestwindow under Wine: characters per second and
// whether every character arrived as sent.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

bool run(std::wstring commandLine, DWORD ms, HANDLE *processOut = nullptr) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    if (processOut != nullptr) {
        *processOut = process.hProcess;
        return true;
    }
    const bool ended = WaitForSingleObject(process.hProcess, ms) == WAIT_OBJECT_0;
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return ended && code == 0;
}

} // namespace

int main() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const fs::path dir = fs::path(temp) / ("quorvane-typing-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(dir);
    // 40 lines of the printable ASCII characters a terminal user types, 64 each.
    std::string text, typed;
    for (int line = 0; line < 40; ++line) {
        std::string row;
        for (int i = 0; i < 64; ++i) {
            row += static_cast<char>(' ' + (line * 7 + i) % 95);
        }
        text += row + "\r\n";
        typed += row + (line < 39 ? "\r" : "");
    }
    std::ofstream(dir / "text.txt", std::ios::binary) << text;
    HANDLE window = nullptr;
    run(L"\"" + fs::path(QUORVANE_TEST_WINDOW).wstring() + L"\" --title \"COM1 - Tera Term VT\" --log \"" +
            (dir / "keys.log").wstring() + L"\"",
        0, &window);
    Sleep(2000);
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    const bool completed = run(L"\"" + fs::path(QUORVANE_CLI).wstring() + L"\" send \"" + (dir / "text.txt").wstring() +
                                   L"\" --char-factor 0 --line-factor 0",
                               120000);
    QueryPerformanceCounter(&end);
    // F24 behind the typed keys ends the window once it has logged everything before it.
    INPUT f24[2]{};
    for (INPUT &input : f24) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_F24;
    }
    f24[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, f24, sizeof(INPUT));
    WaitForSingleObject(window, 10000);
    CloseHandle(window);
    std::ifstream log(dir / "keys.log");
    std::string line, arrived;
    while (std::getline(log, line)) {
        if (line.rfind("CHAR ", 0) == 0) {
            arrived += static_cast<char>(std::stoul(line.substr(5), nullptr, 16));
        }
    }
    const double seconds = static_cast<double>(end.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
    // The transfer waits one second for the terminal before its first key.
    const double typing = seconds - 1.0;
    std::printf("text transfer at factors 0 into wintestwindow under Wine: %zu characters\n", typed.size());
    std::printf("  whole run %.2f s, typing (less the 1 s initial wait) %.2f s: %.0f characters/s\n", seconds, typing,
                static_cast<double>(typed.size()) / typing);
    std::printf("  exit status %s; arrived %s (%zu characters)\n", completed ? "0" : "not 0",
                arrived == typed ? "exact" : "NOT exact", arrived.size());
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return arrived == typed && completed ? 0 : 1;
}
