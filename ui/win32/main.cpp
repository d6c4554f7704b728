// The program on Windows: the window, or one transfer from the command line (`quorvane send FILE`, over the
// terminal or a serial port), `quorvane ports`, or the help text. quorvane.exe (windowed) and quorvane-cli.exe
// (console) are both built from this file.
#include "engine/SendDriver.h"
#include "platform/DesktopBackend.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32ConsoleStop.h"
#include "platform/win32/Win32EventPump.h"
#include "platform/win32/Win32SerialPorts.h"
#include "platform/win32/Win32Settings.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32Timer.h"
#include "ui/CommandLineArguments.h"
#include "ui/FolderListing.h"
#include "ui/SendCommand.h"
#include "ui/SerialCommand.h"
#include "ui/StreamDialogs.h"
#include "ui/win32/Win32MainForm.h"

#include <commctrl.h>
#include <shellapi.h>

#include <iostream>

namespace {

using namespace quorvane;

std::vector<std::string> commandLineArguments() {
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        arguments.push_back(platform::win32::toUtf8(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

std::string programFolder() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return ui::utf8(std::filesystem::path(path).parent_path());
}

int openWindow(platform::DesktopBackend &backend) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    platform::win32::Win32Settings settings;
    platform::win32::Win32EventPump pump;
    platform::win32::Win32Timer timer;
    platform::win32::Win32Clock clock;
    platform::win32::Win32SerialPorts ports;
    ui::win32::Win32MainForm form(settings, programFolder());
    engine::SendDriver driver(
        form, {*backend.desktop, *backend.layout, *backend.injector, pump, timer, clock, form.dialogs()});
    form.setSendDriver(&driver, clock);
    form.setSerialPorts(ports, pump, clock);
    ShowWindow(form.window(), SW_SHOWNORMAL);
    UpdateWindow(form.window());
    MSG message;
    while (!form.ended() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(form.window(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}

int sendFile(platform::DesktopBackend &backend, const ui::SendArguments &arguments) {
    platform::win32::Win32EventPump pump;
    platform::win32::Win32Timer timer;
    platform::win32::Win32Clock clock;
    ui::StreamDialogs messages(std::cerr);
    ui::SendCommand command(arguments,
                            {*backend.desktop, *backend.layout, *backend.injector, pump, timer, clock, messages},
                            std::cerr, platform::win32::stderrIsConsole());
    platform::win32::Win32ConsoleStop stop([&command] { command.interrupt(); });
    return command.run();
}

// The serial line needs no desktop.
int serialCommand(const ui::ParsedCommandLine &parsed) {
    platform::win32::Win32SerialPorts ports;
    if (parsed.action == ui::CommandLineAction::ListPorts) {
        return ui::listSerialPorts(ports, std::cout);
    }
    platform::win32::Win32EventPump pump;
    platform::win32::Win32Clock clock;
    ui::SerialCommand command(parsed.send, parsed.action == ui::CommandLineAction::Verify, {ports, pump, clock},
                              std::cerr, std::cout, platform::win32::stderrIsConsole());
    platform::win32::Win32ConsoleStop stop([&command] { command.interrupt(); });
    return command.run();
}

} // namespace

int main() {
    // File names and messages are UTF-8 throughout; a console shows them as such.
    SetConsoleOutputCP(CP_UTF8);
    const std::vector<std::string> arguments = commandLineArguments();
    const ui::ParsedCommandLine parsed = ui::parseCommandLine(arguments);
    if (parsed.action == ui::CommandLineAction::ShowHelp) {
        std::cout << ui::commandLineHelp();
        return 0;
    }
    if (parsed.action == ui::CommandLineAction::Invalid) {
        std::cerr << "quorvane: " << parsed.error << "\nTry \"quorvane --help\".\n";
        return ui::kExitUsage;
    }
    if (parsed.action == ui::CommandLineAction::ListPorts || parsed.action == ui::CommandLineAction::Verify ||
        (parsed.action == ui::CommandLineAction::Send && parsed.send.port)) {
        return serialCommand(parsed);
    }
    std::string error;
    platform::DesktopBackend backend = platform::openDesktopBackend(error);
    if (!backend.desktop || !backend.layout || !backend.injector) {
        if (error.empty()) {
            error = "cannot connect to the desktop";
        }
        std::cerr << "quorvane: " << error << '\n';
        return ui::kExitNotCompleted;
    }
    if (parsed.action == ui::CommandLineAction::Send) {
        return sendFile(backend, parsed.send);
    }
    return openWindow(backend);
}
