// The program: the window, or one transfer from the command line (`quorvane send FILE`, over the terminal or a
// serial port), `quorvane ports`, or the help text.
#include "engine/SendDriver.h"
#include "platform/DesktopBackend.h"
#include "platform/DesktopFileName.h"
#include "platform/qt/ConsoleWidth.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtSettings.h"
#include "platform/qt/QtTimer.h"
#include "platform/qt/StopSignals.h"
#include "platform/qtserial/QtSerialPorts.h"
#include "ui/CommandLineArguments.h"
#include "ui/MainForm.h"
#include "ui/SendCommand.h"
#include "ui/SerialCommand.h"
#include "ui/StreamDialogs.h"

#include <QApplication>

#include <iostream>

namespace {

using namespace quorvane;

int openWindow(int argc, char **argv, platform::DesktopBackend &backend) {
    QApplication application(argc, argv);
    // On Wayland this is the windows' application id: panels find the icon by it, and the backend knows them by it.
    QGuiApplication::setDesktopFileName(platform::kDesktopFileName);
    platform::QtDialogs dialogs;
    platform::QtSettings settings;
    platform::QtEventPump pump;
    platform::QtTimer timer;
    platform::QtClock clock;
    ui::MainForm form(dialogs, settings, QCoreApplication::applicationDirPath());
    dialogs.setParent(&form);
    engine::SendDriver driver(form,
                              {*backend.desktop, *backend.layout, *backend.injector, pump, timer, clock, dialogs});
    form.setSendDriver(&driver, clock);
    platform::QtSerialPorts ports;
    form.setSerialPorts(ports, pump, clock);
    // A signal ends the program as closing the window does, so a transfer under way leaves the keyboard as it was.
    platform::StopSignals stopSignals([&form] { form.close(); }, [&form] { form.close(); });
    form.show();
    return application.exec();
}

int sendFile(int argc, char **argv, platform::DesktopBackend &backend, const ui::SendArguments &arguments) {
    QCoreApplication application(argc, argv);
    platform::QtEventPump pump;
    platform::QtTimer timer;
    platform::QtClock clock;
    ui::StreamDialogs messages(std::cerr);
    ui::SendCommand command(arguments,
                            {*backend.desktop, *backend.layout, *backend.injector, pump, timer, clock, messages},
                            std::cerr, platform::stderrIsTerminal());
    command.setTerminalColumns(platform::stderrColumns);
    platform::StopSignals stopSignals([&command] { command.interrupt(); }, [&command] { command.end(); });
    return command.run();
}

// The serial line needs no desktop: these run without a display.
int serialCommand(int argc, char **argv, const ui::ParsedCommandLine &parsed) {
    QCoreApplication application(argc, argv);
    platform::QtSerialPorts ports;
    if (parsed.action == ui::CommandLineAction::ListPorts) {
        return ui::listSerialPorts(ports, std::cout);
    }
    platform::QtEventPump pump;
    platform::QtClock clock;
    ui::SerialCommand command(parsed.send, parsed.action == ui::CommandLineAction::Verify, {ports, pump, clock},
                              std::cerr, std::cout, platform::stderrIsTerminal());
    // The serial line binds no keys; a request to end abandons the transfer as a second Ctrl+C does.
    platform::StopSignals stopSignals([&command] { command.interrupt(); }, [&command] { command.endProgram(); });
    return command.run();
}

} // namespace

int main(int argc, char **argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ui::ParsedCommandLine parsed = ui::parseCommandLine(arguments);
    if (parsed.action == ui::CommandLineAction::ShowHelp) {
        std::cout << ui::commandLineHelp();
        return 0;
    }
    if (parsed.action == ui::CommandLineAction::ShowVersion) {
        std::cout << ui::commandLineVersion();
        return 0;
    }
    if (parsed.action == ui::CommandLineAction::Invalid) {
        std::cerr << "quorvane: " << parsed.error << "\nTry \"quorvane --help\".\n";
        return ui::kExitUsage;
    }
    if (parsed.action == ui::CommandLineAction::ListPorts || parsed.action == ui::CommandLineAction::Verify ||
        (parsed.action == ui::CommandLineAction::Send && parsed.send.port)) {
        return serialCommand(argc, argv, parsed);
    }
    // Before any Qt application exists: without a display Qt would abort with a long message of its own.
    std::string error;
    platform::DesktopBackend backend = platform::openDesktopBackend(error);
    if (!backend.desktop || !backend.layout || !backend.injector) {
        std::cerr << "quorvane: " << (error.empty() ? "cannot connect to the desktop" : error) << '\n';
        return ui::kExitNotCompleted;
    }
    if (parsed.action == ui::CommandLineAction::Send) {
        return sendFile(argc, argv, backend, parsed.send);
    }
    return openWindow(argc, argv, backend);
}
