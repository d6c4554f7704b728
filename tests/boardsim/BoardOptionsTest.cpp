// Command-line options and the control bytes taken out of the received stream.
#include "BoardOptions.h"
#include "InputFilter.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvane::boardsim {
namespace {

std::optional<BoardOptions> parse(std::vector<std::string_view> args) {
    std::string error;
    auto options = parseBoardOptions(args, error);
    EXPECT_EQ(options.has_value(), error.empty()) << error;
    return options;
}

TEST(BoardOptions, ParsesEveryOption) {
    auto options = parse({"--monitor", "tibug",     "--revised", "--busy-on-open", "--start",  "memory:fe01", "--bias",
                          "1000",      "--busy-ms", "120",       "--baud",         "4800",     "--char-us",   "900",
                          "--image",   "m.txt",     "--log",     "l.bin",          "--status", "s.txt",       "--ready",
                          "r",         "--quit",    "1B1D",      "--dump-key",     "1C"});
    ASSERT_TRUE(options);
    const MonitorConfig &monitor = options->board.monitor;
    EXPECT_EQ(monitor.kind, MonitorKind::Tibug);
    EXPECT_TRUE(monitor.revised);
    EXPECT_TRUE(monitor.pauseOnOpen);
    EXPECT_EQ(monitor.start, StartMode::Memory);
    EXPECT_EQ(monitor.startAddress, 0xFE01);
    EXPECT_EQ(monitor.loadBias, 0x1000);
    EXPECT_EQ(options->board.busyTime, 120'000);
    EXPECT_EQ(options->board.baud, 4800u);
    EXPECT_EQ(options->board.charTime, 900);
    EXPECT_EQ(options->imagePath, "m.txt");
    EXPECT_EQ(options->logPath, "l.bin");
    EXPECT_EQ(options->statusPath, "s.txt");
    EXPECT_EQ(options->readyPath, "r");
    EXPECT_EQ(options->quitSequence, "\x1B\x1D");
    EXPECT_EQ(options->dumpKey, 0x1C);
}

TEST(BoardOptions, DefaultsModelAnIdealBoard) {
    auto options = parse({});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->board.monitor.kind, MonitorKind::Evmbug);
    EXPECT_EQ(options->board.monitor.start, StartMode::Prompt);
    EXPECT_EQ(options->board.busyTime, 0);
    EXPECT_EQ(options->board.baud, 0u);
    EXPECT_EQ(options->board.charTime, 0);
}

TEST(BoardOptions, RealisticDependsOnMonitorAndYieldsToExplicitValues) {
    struct Case {
        std::vector<std::string_view> args;
        Micros busy;
        unsigned baud;
    };
    const Case cases[] = {
        {{"--realistic"}, 100'000, 9600},
        {{"--realistic", "--monitor", "tibug"}, 200'000, 9600},
        {{"--busy-ms", "150", "--realistic"}, 150'000, 9600},
        {{"--realistic", "--baud", "300"}, 100'000, 300},
    };
    for (const Case &c : cases) {
        auto options = parse(c.args);
        ASSERT_TRUE(options);
        EXPECT_EQ(options->board.busyTime, c.busy);
        EXPECT_EQ(options->board.baud, c.baud);
        EXPECT_EQ(options->board.charTime, 1041);
    }
}

TEST(BoardOptions, RejectsMalformedArguments) {
    const std::vector<std::vector<std::string_view>> bad = {
        {"--monitor", "z80bug"},
        {"--start", "memory:12345"},
        {"--start", "memory:XYZ"},
        {"--start", "run"},
        {"--bias"},
        {"--busy-ms", "-5"},
        {"--quit", "1"},
        {"--dump-key", "1C1D"},
        {"--image", ""},
        {"--frobnicate"},
    };
    for (const auto &args : bad) {
        std::string error;
        EXPECT_FALSE(parseBoardOptions(args, error)) << args.front();
        EXPECT_FALSE(error.empty());
    }
}

TEST(InputFilter, HoldsQuitPrefixesAndReleasesThemWhenTheyFail) {
    struct Case {
        std::string input;
        std::string released;
        bool quit;
        bool dump;
    };
    const Case cases[] = {
        {"AB", "AB", false, false},
        {"A\x1B\x1D", "A", true, false},
        {"\x1B"
         "C",
         "\x1B"
         "C",
         false, false},
        {"\x1B\x1B\x1D", "\x1B", true, false},
        {"1\x1C"
         "2",
         "12", false, true},
        {"\x1B", "", false, false},
    };
    for (const Case &c : cases) {
        InputFilter filter("\x1B\x1D", 0x1C);
        std::string released;
        bool quit = false;
        bool dump = false;
        for (char byte : c.input) {
            auto result = filter.feed(static_cast<std::uint8_t>(byte));
            released += result.release;
            quit = quit || result.quit;
            dump = dump || result.dump;
        }
        EXPECT_EQ(released, c.released) << c.input;
        EXPECT_EQ(quit, c.quit) << c.input;
        EXPECT_EQ(dump, c.dump) << c.input;
    }
}

TEST(BoardHelp, DocumentsEveryOption) {
    std::string help = boardHelpText();
    for (const char *option :
         {"--monitor", "--revised", "--busy-on-open", "--start", "--bias", "--busy-ms", "--baud", "--char-us",
          "--realistic", "--image", "--log", "--status", "--ready", "--quit", "--dump-key"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
}

} // namespace
} // namespace quorvane::boardsim
