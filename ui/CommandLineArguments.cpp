// Parsing of the command line and its help text.
#include "ui/CommandLineArguments.h"

#include "QuorvaneVersion.h"
#include "ui/SerialPortChoice.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace quorvane::ui {
namespace {

using OptionSetter = std::function<std::optional<std::string>(SendArguments &, const std::string &)>;

std::optional<std::string> setType(SendArguments &send, const std::string &value) {
    static const std::map<std::string, FileType> kTypes = {{"loader", FileType::Loader},
                                                           {"object", FileType::TaggedObject},
                                                           {"hex", FileType::HexDump},
                                                           {"text", FileType::Text}};
    const auto found = kTypes.find(value);
    if (found == kTypes.end()) {
        return "--type must be loader, object, hex or text, not \"" + value + "\"";
    }
    send.fileType = found->second;
    return std::nullopt;
}

std::optional<std::string> setMonitor(SendArguments &send, const std::string &value) {
    if (value == "tibug") {
        send.monitor = Monitor::Tibug;
    } else if (value == "evmbug") {
        send.monitor = Monitor::Evmbug;
    } else {
        return "--monitor must be tibug or evmbug, not \"" + value + "\"";
    }
    return std::nullopt;
}

std::optional<std::string> setTerminal(SendArguments &send, const std::string &value) {
    if (value.empty()) {
        return "--terminal needs a terminal name or a part of a window title";
    }
    if (value == "teraterm") {
        send.terminalTitleTerm = "Tera Term";
    } else if (value == "hyperterminal") {
        send.terminalTitleTerm = "HyperTerminal";
    } else {
        send.terminalTitleTerm = value;
    }
    return std::nullopt;
}

// A factor must be a whole, finite, non-negative number: the window would read "1.5x" as 1.5, but a script
// that passes it has made a mistake worth reporting.
bool isFactor(const std::string &value) {
    double number = 0;
    const char *end = value.data() + value.size();
    const auto [ptr, ec] = std::from_chars(value.data(), end, number);
    return !value.empty() && ec == std::errc() && ptr == end && std::isfinite(number) && number >= 0;
}

OptionSetter factorSetter(std::string SendArguments::*member, const std::string &name) {
    return [member, name](SendArguments &send, const std::string &value) -> std::optional<std::string> {
        if (!isFactor(value)) {
            return name + " must be a number of 0 or more, not \"" + value + "\"";
        }
        send.*member = value;
        return std::nullopt;
    };
}

std::optional<std::string> setPort(SendArguments &send, const std::string &value) {
    if (value.empty()) {
        return "--port needs the serial port's name";
    }
    send.port = value;
    return std::nullopt;
}

std::optional<std::string> setBaud(SendArguments &send, const std::string &value) {
    const auto baud = parseBaudRate(value);
    if (!baud) {
        return "--baud must be a whole number from 50 to 4000000, not \"" + value + "\"";
    }
    send.baud = *baud;
    return std::nullopt;
}

std::optional<std::string> setAddress(SendArguments &send, const std::string &value) {
    send.address = parseLoadAddress(value);
    if (!send.address) {
        return "--address must be one to four hexadecimal digits, not \"" + value + "\"";
    }
    return std::nullopt;
}

const std::map<std::string, OptionSetter> &valueOptions() {
    static const std::map<std::string, OptionSetter> kOptions = {
        {"--type", setType},
        {"--monitor", setMonitor},
        {"--terminal", setTerminal},
        {"--char-factor", factorSetter(&SendArguments::charFactor, "--char-factor")},
        {"--line-factor", factorSetter(&SendArguments::lineFactor, "--line-factor")},
        {"--port", setPort},
        {"--baud", setBaud},
        {"--address", setAddress},
    };
    return kOptions;
}

ParsedCommandLine invalid(std::string error) {
    ParsedCommandLine parsed;
    parsed.action = CommandLineAction::Invalid;
    parsed.error = std::move(error);
    return parsed;
}

// Applies one option of `send`, consuming its value from the next argument unless it came as --name=value.
std::optional<std::string> applyOption(SendArguments &send, std::span<const std::string> arguments, std::size_t &i) {
    std::string name = arguments[i];
    std::optional<std::string> value;
    if (const auto equals = name.find('='); equals != std::string::npos) {
        value = name.substr(equals + 1);
        name.resize(equals);
    }
    static const std::map<std::string, bool SendArguments::*> kSwitches = {
        {"--ignore-address-tags", &SendArguments::ignoreAddressTags}, {"--echo", &SendArguments::echo}};
    if (const auto flag = kSwitches.find(name); flag != kSwitches.end() || name == "--no-verify") {
        if (value) {
            return name + " takes no value";
        }
        if (name == "--no-verify") {
            send.verify = false;
        } else {
            send.*(flag->second) = true;
        }
        return std::nullopt;
    }
    const auto option = valueOptions().find(name);
    if (option == valueOptions().end()) {
        return "unknown option \"" + arguments[i] + "\"";
    }
    if (!value) {
        if (i + 1 >= arguments.size()) {
            return name + " needs a value";
        }
        value = arguments[++i];
    }
    return option->second(send, *value);
}

ParsedCommandLine parseSend(std::span<const std::string> arguments) {
    ParsedCommandLine parsed;
    parsed.action = CommandLineAction::Send;
    bool haveFile = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (argument.size() > 1 && argument.front() == '-') {
            if (auto error = applyOption(parsed.send, arguments, i)) {
                return invalid(*error);
            }
        } else if (!haveFile) {
            parsed.send.file = argument;
            haveFile = true;
        } else {
            return invalid("only one file can be sent at a time; \"" + argument + "\" is one too many");
        }
    }
    if (!haveFile || parsed.send.file.empty()) {
        return invalid("send needs the file to send");
    }
    const SendArguments defaults;
    const bool serialOptions =
        parsed.send.baud != defaults.baud || parsed.send.address || !parsed.send.verify || parsed.send.echo;
    if (!parsed.send.port && serialOptions) {
        return invalid("--baud, --address, --no-verify and --echo go with --port");
    }
    return parsed;
}

ParsedCommandLine parseVerify(std::span<const std::string> arguments) {
    ParsedCommandLine parsed = parseSend(arguments);
    if (parsed.action == CommandLineAction::Invalid) {
        if (parsed.error == "send needs the file to send") {
            parsed.error = "verify needs the file to compare with";
        }
        return parsed;
    }
    if (!parsed.send.port) {
        return invalid("verify needs the serial port (--port DEVICE)");
    }
    if (!parsed.send.verify) {
        return invalid("--no-verify makes no sense with verify");
    }
    parsed.action = CommandLineAction::Verify;
    return parsed;
}

} // namespace

ParsedCommandLine parseCommandLine(std::span<const std::string> arguments) {
    if (arguments.empty()) {
        return {};
    }
    const std::string &first = arguments.front();
    const bool help = first == "--help" || first == "-h" || first == "help";
    if (help || first == "--version") {
        if (arguments.size() > 1) {
            return invalid(first + " takes no further arguments");
        }
        ParsedCommandLine parsed;
        parsed.action = help ? CommandLineAction::ShowHelp : CommandLineAction::ShowVersion;
        return parsed;
    }
    if (first == "send") {
        return parseSend(arguments.subspan(1));
    }
    if (first == "verify") {
        return parseVerify(arguments.subspan(1));
    }
    if (first == "ports") {
        if (arguments.size() > 1) {
            return invalid("ports takes no further arguments");
        }
        ParsedCommandLine parsed;
        parsed.action = CommandLineAction::ListPorts;
        return parsed;
    }
    return invalid("unknown command \"" + first + "\"");
}

std::string commandLineHelp() {
    return "Usage: quorvane                 open the window\n"
           "       quorvane send FILE [options]\n"
           "       quorvane send FILE --port DEVICE [--baud N] [--address HEX] [--no-verify] [--echo] [options]\n"
           "       quorvane verify FILE --port DEVICE [--baud N] [--address HEX] [--echo] [options]\n"
           "       quorvane ports\n"
           "       quorvane --help | --version\n"
           "\n"
           "send types FILE into the terminal window, as the Send button does, with no window of its own.\n"
           "With --port it sends FILE over that serial line itself, paced by the board's echo and prompts, and\n"
           "reads a monitor transfer (object, hex) back to verify it. verify only reads back and compares.\n"
           "ports lists the serial ports.\n"
           "\n"
           "  --type loader|object|hex|text   loader: tagged object code to a loader on the board;\n"
           "                                  object: tagged object code through the monitor's memory command;\n"
           "                                  hex: a binary image; text: a text file.\n"
           "                                  Default: by extension (.obj loader; .cas .hex .bin hex; else text).\n"
           "  --monitor tibug|evmbug          the board's monitor (default evmbug)\n"
           "  --terminal teraterm|hyperterminal|TITLE\n"
           "                                  the terminal window: Tera Term (default), HyperTerminal, or a\n"
           "                                  window whose title contains TITLE\n"
           "  --ignore-address-tags           object: load at the address of the memory command already typed\n"
           "  --char-factor X                 multiplies the wait after each character (default 1.0)\n"
           "  --line-factor Y                 multiplies the wait after each line (default 1.0)\n"
           "  --port DEVICE                   the serial port (/dev/ttyUSB0, /dev/serial/by-id/..., COM3)\n"
           "  --baud N                        its rate, 8N1, no flow control (default 9600)\n"
           "  --address HEX                   hex: the load address (needed); object: where words before\n"
           "                                  the first address tag go, or all of them with\n"
           "                                  --ignore-address-tags\n"
           "  --no-verify                     do not read a monitor transfer back\n"
           "  --echo                          show the board's output as it arrives\n"
           "\n"
           "  --help                          this text\n"
           "  --version                       the program's version\n"
           "\n"
           "Ctrl+C stops the transfer as STOP! does; a second Ctrl+C ends the program at once.\n"
           "Exit status: 0 when the whole file was typed (or sent and every word read back matched), 1 when\n"
           "it was not, 2 for invalid arguments.\n";
}

std::string commandLineVersion() { return std::string("quorvane ") + kVersion + "\n"; }

} // namespace quorvane::ui
