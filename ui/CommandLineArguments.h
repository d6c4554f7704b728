// The program's command line: opening the window, `send FILE [options]`, the help text or the version.
#pragma once

#include "ui/FileTypeOptions.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quorvane::ui {

// One transfer as the command line asks for it; the defaults are the window's state at start.
struct SendArguments {
    std::string file;
    std::optional<FileType> fileType; // unset: chosen from the file's extension, as a click in the file list does
    Monitor monitor = Monitor::Evmbug;
    std::string terminalTitleTerm = "Tera Term";
    bool ignoreAddressTags = false;
    std::string charFactor = "1.0";
    std::string lineFactor = "1.0";
    // Over the serial line instead of the terminal window, when a port is named.
    std::optional<std::string> port;
    unsigned baud = 9600;
    std::optional<std::uint16_t> address;
    bool verify = true;
    bool echo = false;
};

enum class CommandLineAction { OpenWindow, Send, Verify, ListPorts, ShowHelp, ShowVersion, Invalid };

struct ParsedCommandLine {
    CommandLineAction action = CommandLineAction::OpenWindow;
    SendArguments send;
    std::string error; // one line for the user when the action is Invalid
};

// `arguments` excludes the program name. An empty list opens the window.
ParsedCommandLine parseCommandLine(std::span<const std::string> arguments);

std::string commandLineHelp();
// "quorvane 1.8.0" and a line ending.
std::string commandLineVersion();

// The exit statuses of `quorvane send`.
inline constexpr int kExitCompleted = 0;
inline constexpr int kExitNotCompleted = 1;
inline constexpr int kExitUsage = 2;

} // namespace quorvane::ui
