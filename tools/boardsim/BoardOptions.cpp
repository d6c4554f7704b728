// Option parsing for boardsim; every option is documented in the help text below.
#include "BoardOptions.h"

#include <charconv>

namespace quorvane::boardsim {

namespace {

// Typical re-entry delays: about 0.1 s measured on EVMBUG, about 0.2 s expected on TIBUG at 3 MHz.
constexpr Micros kEvmbugBusy = 100'000;
constexpr Micros kTibugBusy = 200'000;
constexpr unsigned kBoardBaud = 9600;
// The monitor echoes every character before it reads the next: one character time at 9600 baud, the
// line's own rate, so a steady stream neither drifts nor overruns.
constexpr Micros kBoardCharTime = 1041;

std::optional<unsigned long> parseNumber(std::string_view text, int base) {
    unsigned long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint16_t> parseAddress(std::string_view text) {
    auto value = parseNumber(text, 16);
    if (!value || *value > 0xFFFF || text.size() > 4) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(*value);
}

std::optional<std::string> parseHexBytes(std::string_view text) {
    if (text.empty() || text.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        auto value = parseNumber(text.substr(i, 2), 16);
        if (!value) {
            return std::nullopt;
        }
        bytes += static_cast<char>(*value);
    }
    return bytes;
}

bool parseStart(std::string_view text, MonitorConfig &monitor) {
    constexpr std::string_view kMemoryPrefix = "memory:";
    if (text == "prompt") {
        monitor.start = StartMode::Prompt;
    } else if (text == "loader") {
        monitor.start = StartMode::Loader;
    } else if (text == "text") {
        monitor.start = StartMode::Text;
    } else if (text.starts_with(kMemoryPrefix)) {
        auto address = parseAddress(text.substr(kMemoryPrefix.size()));
        if (!address) {
            return false;
        }
        monitor.start = StartMode::Memory;
        monitor.startAddress = *address;
    } else {
        return false;
    }
    return true;
}

bool applyTiming(std::string_view name, std::string_view value, BoardConfig &board) {
    auto number = parseNumber(value, 10);
    if (!number || *number > 1'000'000) {
        return false;
    }
    if (name == "--baud") {
        board.baud = static_cast<unsigned>(*number);
    } else if (name == "--char-us") {
        board.charTime = static_cast<Micros>(*number);
    } else if (name == "--drop-byte") {
        board.dropByte = *number;
    } else if (name == "--change-byte") {
        board.changeByte = *number;
    } else {
        board.busyTime = static_cast<Micros>(*number) * 1000;
    }
    return true;
}

bool applyControlBytes(std::string_view name, std::string_view value, BoardOptions &options) {
    auto bytes = parseHexBytes(value);
    if (!bytes || (name == "--dump-key" && bytes->size() != 1)) {
        return false;
    }
    if (name == "--quit") {
        options.quitSequence = *bytes;
    } else {
        options.dumpKey = static_cast<std::uint8_t>((*bytes)[0]);
    }
    return true;
}

// Options that take a value; false when the value is malformed.
bool applyValue(std::string_view name, std::string_view value, BoardOptions &options) {
    MonitorConfig &monitor = options.board.monitor;
    if (name == "--monitor") {
        if (value != "evmbug" && value != "tibug") {
            return false;
        }
        monitor.kind = value == "tibug" ? MonitorKind::Tibug : MonitorKind::Evmbug;
    } else if (name == "--start") {
        return parseStart(value, monitor);
    } else if (name == "--bias") {
        auto bias = parseAddress(value);
        monitor.loadBias = bias.value_or(0);
        return bias.has_value();
    } else if (name == "--busy-ms" || name == "--baud" || name == "--char-us" || name == "--drop-byte" ||
               name == "--change-byte") {
        return applyTiming(name, value, options.board);
    } else if (name == "--quit" || name == "--dump-key") {
        return applyControlBytes(name, value, options);
    } else {
        std::string *path = name == "--image"    ? &options.imagePath
                            : name == "--log"    ? &options.logPath
                            : name == "--status" ? &options.statusPath
                                                 : &options.readyPath;
        *path = std::string(value);
        return !value.empty();
    }
    return true;
}

bool takesValue(std::string_view name) {
    for (std::string_view known :
         {"--monitor", "--start", "--bias", "--busy-ms", "--baud", "--char-us", "--drop-byte", "--change-byte",
          "--quit", "--dump-key", "--image", "--log", "--status", "--ready"}) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<BoardOptions> parseBoardOptions(std::span<const std::string_view> args, std::string &error) {
    BoardOptions options;
    bool realistic = false;
    bool busySet = false;
    bool baudSet = false;
    bool charSet = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--revised") {
            options.board.monitor.revised = true;
        } else if (name == "--paced-output") {
            options.board.pacedOutput = true;
        } else if (name == "--busy-on-open") {
            options.board.monitor.pauseOnOpen = true;
        } else if (name == "--realistic") {
            realistic = true;
        } else if (!takesValue(name)) {
            error = "unknown option " + std::string(name);
            return std::nullopt;
        } else if (i + 1 == args.size() || !applyValue(name, args[i + 1], options)) {
            error = "missing or bad value for " + std::string(name);
            return std::nullopt;
        } else {
            busySet = busySet || name == "--busy-ms";
            baudSet = baudSet || name == "--baud";
            charSet = charSet || name == "--char-us";
            ++i;
        }
    }
    if (realistic && !busySet) {
        options.board.busyTime = options.board.monitor.kind == MonitorKind::Tibug ? kTibugBusy : kEvmbugBusy;
    }
    if (realistic && !baudSet) {
        options.board.baud = kBoardBaud;
    }
    if (realistic && !charSet) {
        options.board.charTime = kBoardCharTime;
    }
    options.board.pacedOutput = options.board.pacedOutput || realistic;
    return options;
}

std::string boardHelpText(std::string_view program) {
    return "Usage: " + std::string(program) + R"( [options]
Simulates a TM 990 board's monitor (TIBUG or EVMBUG) on the terminal it runs in: reads the raw
terminal, echoes as the monitor does and keeps the board's memory.

  --monitor evmbug|tibug  the resident monitor (default evmbug)
  --revised               revised ROM: lower-case hex digits and commands are accepted too
  --start MODE            prompt (default), memory:ADDR (inside an open memory command at hex
                          ADDR), loader (the 990 tagged object loader), text (echo only)
  --bias HEX              load bias added to relocatable addresses and data (tags A, C); default 0
  --busy-ms N             re-entry delay of N ms before every prompt (after an error, after the CR
                          that leaves the memory loop or ends a command); characters arriving
                          during it are lost. Default 0 (off)
  --busy-on-open          run the same delay after the CR that opens the memory loop, before
                          the first step is shown
  --baud N                the serial line carries one character per 10 bits at N baud; what is
                          typed faster waits in the terminal's send queue. Default 0 (no limit)
  --char-us N             the monitor's handling time per character (echo and work) in us; a
                          character arriving while one is already held in the one-character
                          receive register overwrites it (overrun, lost). Default 0 (off)
  --paced-output          the board's output also goes at the line's rate (needs --baud), and the
                          monitor reads nothing more until its answer is nearly sent
  --realistic             --busy-ms 100 (EVMBUG) or 200 (TIBUG), --baud 9600 and --char-us 1041,
                          each unless given, and --paced-output
  --drop-byte N           the N-th byte received (from 1) is lost on the line
  --change-byte N         the N-th byte received arrives changed: a hex digit as the next one (F as
                          0), any other byte with its lowest bit flipped
  --image FILE            memory image, written on exit and on request (SIGUSR1 or the dump key)
  --log FILE              every byte received, raw, appended as it arrives
  --status FILE           written with the image: lines received=N, lost=N, errors=N
  --ready FILE            created once the terminal is raw and the board listens
  --quit HEX              byte sequence (hex pairs, e.g. 1D) that ends the simulator; choose
                          bytes the transfers never type
  --dump-key HEX          one byte (e.g. 1C) that writes the image and status now
  --help                  this text

Memory image: one line "ADDR=WORD" for every word written, hex upper case, 4 digits each,
sorted by address, LF line ends; memory never written is not listed (it reads as 0000).
Files are replaced whole (written to FILE.tmp, then renamed).

Monitor output: EVMBUG prompt CR LF "MON? ", TIBUG prompt CR LF "?"; memory steps CR LF
"ADDR=WORD "; errors CR LF "ERROR n" (0 bad tag or field, 1 checksum, 2 invalid termination
character, 3 dump address, 4 invalid command). Only the memory commands (EVMBUG IM, TIBUG M)
are simulated; other commands give ERROR 4.

Ends, writing the image and status, on the quit sequence, end of input, SIGTERM, SIGINT or SIGHUP.
)";
}

} // namespace quorvane::boardsim
