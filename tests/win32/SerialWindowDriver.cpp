// Works quorvane.exe's "Serial port" choice as a user would and prints what the window showed, for the host's
// serial test (tests/e2e/WineSerialTest.cpp), which holds the simulated board behind the COM port:
//   serialwindowdriver FILE --port COMn --baud N [--address HEX] [--click CONTROL]...
// The file is shown in a test folder, the controls named by --click are clicked, the boxes filled and Send
// pressed; message boxes are answered as they come. Printed, one line each (line breaks as spaces):
//   during: the board's output while the title showed the percentage (the first steady reading with some)
//   message: a message box's text
//   end: the line that says how the transfer ended
//   output: the board's output at the end
// Exit status 0 once the end line is shown, 1 when the window did not get there.
#include "DefaultFolder.h"
#include "ProgramWindow.h"
#include "platform/win32/Win32Text.h"
#include "ui/WindowProgress.h"

#include <shellapi.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace quorvane::ui::win32::test {
namespace {

using platform::win32::toUtf8;

std::string oneLine(std::wstring text) {
    for (wchar_t &c : text) {
        if (c == L'\r' || c == L'\n') {
            c = L' ';
        }
    }
    return toUtf8(text);
}

// What the window shows at one moment; the program's thread may change any of it between two reads.
struct Reading {
    std::wstring title, endLine, output;
    bool stopShown = false, endLineShown = false;

    bool operator==(const Reading &) const = default;
};

Reading read(const ProgramWindow &program) {
    return {program.title(), program.text(L"Label2"), program.text(L"txtBoardOutput"), program.visible(L"btnStop"),
            program.visible(L"Label2")};
}

std::optional<Reading> steady(const ProgramWindow &program) {
    const Reading first = read(program);
    if (read(program) != first) {
        return std::nullopt;
    }
    return first;
}

int drive(const std::filesystem::path &file, const std::map<std::wstring, std::wstring> &boxes,
          const std::vector<std::wstring> &clicks) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    DefaultFolder folder("serial-window");
    folder.write(file.filename().string(), bytes.str());
    ProgramWindow program(QUORVANE_PROGRAM);
    if (program.window() == nullptr) {
        std::printf("driver: the window did not appear (exit code %d)\n", program.waitForExit(0));
        return 1;
    }
    if (!waitFor([&] { return program.select(L"FileListBox", file.filename().wstring()); }, 10000)) {
        std::printf("driver: the file list does not show %s\n", file.filename().string().c_str());
        for (const std::wstring &entry : program.entries(L"FileListBox")) {
            std::printf("driver: it shows %s\n", toUtf8(entry).c_str());
        }
        return 1;
    }
    for (const std::wstring &control : clicks) {
        program.click(control);
    }
    for (const auto &[name, text] : boxes) {
        program.setText(name, text);
    }
    const std::wstring instruction = program.text(L"Label2");
    program.postClick(L"btnSend");

    std::wstring during;
    std::optional<Reading> last;
    const bool ended = waitFor(
        [&] {
            if (const HWND box = program.messageBox()) {
                std::printf("message: %s\n", oneLine(ProgramWindow::messageText(box)).c_str());
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                waitFor([&] { return program.messageBox() != box; }, 10000);
            }
            last = steady(program);
            if (!last) {
                return false;
            }
            if (during.empty() && last->title.find(L'%') != std::wstring::npos) {
                during = last->output;
            }
            // The end line is drawn before the title.
            return !last->stopShown && last->endLineShown && last->endLine != instruction &&
                   toUtf8(last->title) == kWindowTitle;
        },
        180000);
    std::printf("during: %s\n", oneLine(during).c_str());
    if (!ended || !last) {
        std::puts("driver: the transfer did not end within three minutes");
        return 1;
    }
    std::printf("end: %s\noutput: %s\n", toUtf8(last->endLine).c_str(), oneLine(last->output).c_str());
    return 0;
}

} // namespace
} // namespace quorvane::ui::win32::test

int main() {
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 2) {
        std::puts("usage: serialwindowdriver FILE --port COMn --baud N [--address HEX] [--click CONTROL]...");
        return 2;
    }
    const std::map<std::wstring, std::wstring> boxNames{
        {L"--port", L"cboSerialPort"}, {L"--baud", L"cboBaudRate"}, {L"--address", L"txtLoadAddress"}};
    std::map<std::wstring, std::wstring> boxes;
    std::vector<std::wstring> clicks;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::wstring option = argv[i];
        if (option == L"--click") {
            clicks.push_back(argv[i + 1]);
        } else if (boxNames.contains(option)) {
            boxes[boxNames.at(option)] = argv[i + 1];
        } else {
            std::printf("serialwindowdriver: unknown option %s\n", quorvane::platform::win32::toUtf8(option).c_str());
            std::fflush(stdout);
            return 2;
        }
    }
    const int status = quorvane::ui::win32::test::drive(argv[1], boxes, clicks);
    std::fflush(stdout);
    return status;
}
