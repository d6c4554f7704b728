// Start to visible window: quorvane.exe against a bare dialog started the same way, median of several runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Milliseconds from CreateProcess to the window being visible; negative when it never appeared.
double startToVisible(const std::filesystem::path &program, const wchar_t *windowClass, const wchar_t *title) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency, begin, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return -1;
    }
    double elapsed = -1;
    const ULONGLONG giveUp = GetTickCount64() + 20000;
    while (GetTickCount64() < giveUp) {
        const HWND window = FindWindowW(windowClass, title);
        if (window != nullptr && IsWindowVisible(window)) {
            QueryPerformanceCounter(&now);
            elapsed =
                1000.0 * static_cast<double>(now.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
            PostMessageW(window, WM_CLOSE, 0, 0);
            break;
        }
        Sleep(1);
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return elapsed;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main() {
    constexpr int kRuns = 9;
    std::vector<double> quorvane, bare;
    startToVisible(BARE_DIALOG, L"#32770", L"Bare dialog"); // the first start of anything pays for the disk cache
    for (int run = 0; run < kRuns; ++run) {
        bare.push_back(startToVisible(BARE_DIALOG, L"#32770", L"Bare dialog"));
        quorvane.push_back(startToVisible(QUORVANE_PROGRAM, L"QuorvaneMainForm", L"Quorvane"));
    }
    const double q = median(quorvane), b = median(bare);
    std::printf("start to visible window under Wine, median of %d runs (alternating):\n", kRuns);
    std::printf("  quorvane.exe   %7.1f ms (min %.1f, max %.1f)\n", q,
                *std::min_element(quorvane.begin(), quorvane.end()),
                *std::max_element(quorvane.begin(), quorvane.end()));
    std::printf("  bare dialog    %7.1f ms (min %.1f, max %.1f)\n", b, *std::min_element(bare.begin(), bare.end()),
                *std::max_element(bare.begin(), bare.end()));
    std::printf("  ratio          %7.2f\n", q / b);
    return 0;
}
