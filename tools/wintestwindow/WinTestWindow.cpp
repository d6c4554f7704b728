// A Win32 window for end-to-end tests: it logs every key message it receives, one line each, to a file.
//   wintestwindow --title "COM1 - Tera Term VT" --log keys.log [--seconds 120] [--board BOARDSIM-OPTIONS...]
// With --board, every character it receives also goes to the simulated board (the boardsim options that
// follow, for example --monitor tibug --start loader --image board.image), whose memory image is written when
// the window ends.
// Lines: "KEYDOWN vk=41 scan=1e ext=0" (also KEYUP, SYSKEYDOWN, SYSKEYUP), "CHAR 0041" (also SYSCHAR,
// DEADCHAR; one UTF-16 unit in hex), "FOCUS" when it gains the keyboard focus. The release of F24 ends it,
// so a sender can queue F24 behind its keys and know that everything before it has been logged.
#include <windows.h>

#include <shellapi.h>

#include "Board.h"
#include "BoardOptions.h"

#include <cstdio>
#include <cwchar>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT_PTR kLifetimeTimer = 1;
FILE *g_log = nullptr;
std::unique_ptr<quorvane::boardsim::Board> g_board;

void logLine(const char *text) {
    std::fputs(text, g_log);
    std::fputc('\n', g_log);
    std::fflush(g_log);
}

void logKey(const char *name, WPARAM wParam, LPARAM lParam) {
    char line[96];
    const unsigned scan = static_cast<unsigned>((lParam >> 16) & 0xFF);
    const unsigned extended = static_cast<unsigned>((lParam >> 24) & 1);
    std::snprintf(line, sizeof line, "%s vk=%02x scan=%02x ext=%u", name, static_cast<unsigned>(wParam), scan,
                  extended);
    logLine(line);
}

void logChar(const char *name, WPARAM wParam) {
    char line[32];
    std::snprintf(line, sizeof line, "%s %04x", name, static_cast<unsigned>(wParam & 0xFFFF));
    logLine(line);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        logKey("KEYDOWN", wParam, lParam);
        return 0;
    case WM_KEYUP:
        logKey("KEYUP", wParam, lParam);
        if (wParam == VK_F24) {
            DestroyWindow(window);
        }
        return 0;
    case WM_SYSKEYDOWN:
        logKey("SYSKEYDOWN", wParam, lParam);
        return 0;
    case WM_SYSKEYUP:
        logKey("SYSKEYUP", wParam, lParam);
        return 0;
    case WM_CHAR:
        logChar("CHAR", wParam);
        if (g_board && wParam < 0x100) {
            g_board->receive(static_cast<std::uint8_t>(wParam), 0);
        }
        return 0;
    case WM_SYSCHAR:
        logChar("SYSCHAR", wParam);
        return 0;
    case WM_DEADCHAR:
        logChar("DEADCHAR", wParam);
        return 0;
    case WM_SETFOCUS:
        logLine("FOCUS");
        return 0;
    case WM_TIMER:
        if (wParam == kLifetimeTimer) {
            DestroyWindow(window); // a test that died must not leave the window behind
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

struct Options {
    std::wstring title = L"COM1 - Tera Term VT";
    std::wstring log;
    UINT seconds = 120;
    std::vector<std::string> board; // the boardsim options after --board
    bool withBoard = false;
};

std::string narrow(const wchar_t *text) {
    std::string result;
    for (; *text != L'\0'; ++text) {
        result.push_back(static_cast<char>(*text));
    }
    return result;
}

bool parseOptions(int argc, wchar_t **argv, Options &options) {
    for (int i = 1; i < argc; i += 2) {
        const std::wstring name = argv[i];
        if (name == L"--board") {
            options.withBoard = true;
            for (int rest = i + 1; rest < argc; ++rest) {
                options.board.push_back(narrow(argv[rest]));
            }
            return !options.log.empty();
        }
        if (i + 1 >= argc) {
            return false;
        }
        if (name == L"--title") {
            options.title = argv[i + 1];
        } else if (name == L"--log") {
            options.log = argv[i + 1];
        } else if (name == L"--seconds") {
            options.seconds = static_cast<UINT>(std::wcstoul(argv[i + 1], nullptr, 10));
        } else {
            return false;
        }
    }
    return !options.log.empty();
}

// The simulated board behind the window, with its timing off: every character is handled as it comes.
bool startBoard(const Options &options, std::string &imagePath) {
    const std::vector<std::string_view> args(options.board.begin(), options.board.end());
    std::string error;
    const std::optional<quorvane::boardsim::BoardOptions> parsed = quorvane::boardsim::parseBoardOptions(args, error);
    if (!parsed) {
        std::fprintf(stderr, "wintestwindow: %s\n", error.c_str());
        return false;
    }
    imagePath = parsed->imagePath;
    g_board = std::make_unique<quorvane::boardsim::Board>(parsed->board);
    g_board->start();
    return true;
}

HWND createWindow(const Options &options) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuorvaneTestWindow";
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, options.title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 480, 320,
                           nullptr, nullptr, windowClass.hInstance, nullptr);
}

} // namespace

int main() {
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    Options options;
    if (argv == nullptr || !parseOptions(argc, argv, options)) {
        std::fputs("usage: wintestwindow --title TITLE --log FILE [--seconds N] [--board BOARDSIM-OPTIONS...]\n",
                   stderr);
        return 2;
    }
    std::string imagePath;
    if (options.withBoard && !startBoard(options, imagePath)) {
        return 2;
    }
    g_log = _wfopen(options.log.c_str(), L"w");
    if (g_log == nullptr) {
        std::fputs("wintestwindow: cannot open the log file\n", stderr);
        return 1;
    }
    const HWND window = createWindow(options);
    if (window == nullptr) {
        return 1;
    }
    SetTimer(window, kLifetimeTimer, options.seconds * 1000, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    std::fclose(g_log);
    if (g_board && !imagePath.empty()) {
        g_board->advanceTo(0);
        std::ofstream(imagePath, std::ios::binary) << g_board->memory().toText();
    }
    return 0;
}
