// The command line's parsing: the actions, every option's values and defaults, and the clear refusals.
#include "ui/CommandLineArguments.h"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

namespace quorvane::ui {
namespace {

ParsedCommandLine parse(std::vector<std::string> arguments) { return parseCommandLine(arguments); }

TEST(CommandLineArguments, NoArgumentsOpenTheWindowAndHelpAndVersionAreRecognised) {
    EXPECT_EQ(parse({}).action, CommandLineAction::OpenWindow);
    EXPECT_EQ(parse({"--help"}).action, CommandLineAction::ShowHelp);
    EXPECT_EQ(parse({"-h"}).action, CommandLineAction::ShowHelp);
    EXPECT_EQ(parse({"--version"}).action, CommandLineAction::ShowVersion);
    EXPECT_NE(commandLineHelp().find("quorvane send FILE"), std::string::npos);
    EXPECT_TRUE(std::regex_match(commandLineVersion(), std::regex("quorvane [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << commandLineVersion();
}

TEST(CommandLineArguments, SendDefaultsAreTheWindowsStartState) {
    const ParsedCommandLine parsed = parse({"send", "prog.obj"});
    ASSERT_EQ(parsed.action, CommandLineAction::Send);
    EXPECT_EQ(parsed.send.file, "prog.obj");
    EXPECT_FALSE(parsed.send.fileType.has_value());
    EXPECT_EQ(parsed.send.monitor, Monitor::Evmbug);
    EXPECT_EQ(parsed.send.terminalTitleTerm, "Tera Term");
    EXPECT_FALSE(parsed.send.ignoreAddressTags);
    EXPECT_EQ(parsed.send.charFactor, "1.0");
    EXPECT_EQ(parsed.send.lineFactor, "1.0");
}

struct ValidCase {
    std::vector<std::string> arguments;
    std::optional<FileType> fileType;
    Monitor monitor;
    std::string term;
    bool ignoreTags;
    std::string charFactor;
    std::string lineFactor;
};

class ValidSend : public testing::TestWithParam<ValidCase> {};

TEST_P(ValidSend, SetsEveryField) {
    const ValidCase &c = GetParam();
    const ParsedCommandLine parsed = parse(c.arguments);
    ASSERT_EQ(parsed.action, CommandLineAction::Send) << parsed.error;
    EXPECT_EQ(parsed.send.file, "f.bin");
    EXPECT_EQ(parsed.send.fileType, c.fileType);
    EXPECT_EQ(parsed.send.monitor, c.monitor);
    EXPECT_EQ(parsed.send.terminalTitleTerm, c.term);
    EXPECT_EQ(parsed.send.ignoreAddressTags, c.ignoreTags);
    EXPECT_EQ(parsed.send.charFactor, c.charFactor);
    EXPECT_EQ(parsed.send.lineFactor, c.lineFactor);
}

INSTANTIATE_TEST_SUITE_P(
    Options, ValidSend,
    testing::Values(
        ValidCase{
            {"send", "f.bin", "--type", "loader"}, FileType::Loader, Monitor::Evmbug, "Tera Term", false, "1.0", "1.0"},
        ValidCase{{"send", "--type=object", "f.bin"},
                  FileType::TaggedObject,
                  Monitor::Evmbug,
                  "Tera Term",
                  false,
                  "1.0",
                  "1.0"},
        ValidCase{
            {"send", "f.bin", "--type", "hex"}, FileType::HexDump, Monitor::Evmbug, "Tera Term", false, "1.0", "1.0"},
        ValidCase{
            {"send", "f.bin", "--type", "text"}, FileType::Text, Monitor::Evmbug, "Tera Term", false, "1.0", "1.0"},
        ValidCase{{"send", "f.bin", "--monitor", "tibug"}, {}, Monitor::Tibug, "Tera Term", false, "1.0", "1.0"},
        ValidCase{{"send", "f.bin", "--monitor=evmbug"}, {}, Monitor::Evmbug, "Tera Term", false, "1.0", "1.0"},
        ValidCase{{"send", "f.bin", "--terminal", "hyperterminal"},
                  {},
                  Monitor::Evmbug,
                  "HyperTerminal",
                  false,
                  "1.0",
                  "1.0"},
        ValidCase{{"send", "f.bin", "--terminal", "teraterm"}, {}, Monitor::Evmbug, "Tera Term", false, "1.0", "1.0"},
        ValidCase{{"send", "f.bin", "--terminal", "ttyUSB0 - minicom"},
                  {},
                  Monitor::Evmbug,
                  "ttyUSB0 - minicom",
                  false,
                  "1.0",
                  "1.0"},
        ValidCase{{"send", "--ignore-address-tags", "f.bin"}, {}, Monitor::Evmbug, "Tera Term", true, "1.0", "1.0"},
        ValidCase{{"send", "f.bin", "--char-factor", "2.5", "--line-factor=0"},
                  {},
                  Monitor::Evmbug,
                  "Tera Term",
                  false,
                  "2.5",
                  "0"},
        ValidCase{{"send", "f.bin", "--type", "hex", "--type", "text"},
                  FileType::Text,
                  Monitor::Evmbug,
                  "Tera Term",
                  false,
                  "1.0",
                  "1.0"}));

struct InvalidCase {
    std::vector<std::string> arguments;
    std::string errorMentions;
};

class InvalidCommandLine : public testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidCommandLine, IsRefusedWithAMessageThatNamesTheProblem) {
    const InvalidCase &c = GetParam();
    const ParsedCommandLine parsed = parse(c.arguments);
    EXPECT_EQ(parsed.action, CommandLineAction::Invalid);
    EXPECT_NE(parsed.error.find(c.errorMentions), std::string::npos) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, InvalidCommandLine,
    testing::Values(InvalidCase{{"sned", "f.obj"}, "sned"}, InvalidCase{{"send"}, "file"},
                    InvalidCase{{"send", "a.obj", "b.obj"}, "b.obj"}, InvalidCase{{"send", "f", "--type"}, "--type"},
                    InvalidCase{{"send", "f", "--type", "binary"}, "binary"},
                    InvalidCase{{"send", "f", "--monitor", "TIBUG"}, "TIBUG"},
                    InvalidCase{{"send", "f", "--terminal="}, "--terminal"},
                    InvalidCase{{"send", "f", "--char-factor", "fast"}, "fast"},
                    InvalidCase{{"send", "f", "--char-factor", "1.5x"}, "1.5x"},
                    InvalidCase{{"send", "f", "--line-factor", "-1"}, "-1"},
                    InvalidCase{{"send", "f", "--line-factor", "inf"}, "inf"},
                    InvalidCase{{"send", "f", "--ignore-address-tags=yes"}, "--ignore-address-tags"},
                    InvalidCase{{"send", "f", "--speed", "9"}, "--speed"}, InvalidCase{{"--help", "x"}, "--help"},
                    InvalidCase{{"send", "f", "--port="}, "--port"},
                    InvalidCase{{"send", "f", "--port", "p", "--baud", "96OO"}, "96OO"},
                    InvalidCase{{"send", "f", "--port", "p", "--baud", "0"}, "--baud"},
                    InvalidCase{{"send", "f", "--port", "p", "--address", "1FE00"}, "1FE00"},
                    InvalidCase{{"send", "f", "--port", "p", "--address", "FEOO"}, "FEOO"},
                    InvalidCase{{"send", "f", "--port", "p", "--no-verify=1"}, "--no-verify"},
                    InvalidCase{{"send", "f", "--address", "FE00"}, "--port"},
                    InvalidCase{{"send", "f", "--echo"}, "--port"}, InvalidCase{{"verify", "f"}, "--port"},
                    InvalidCase{{"verify", "--port", "p"}, "verify needs the file"},
                    InvalidCase{{"verify", "f", "--port", "p", "--no-verify"}, "--no-verify"},
                    InvalidCase{{"ports", "x"}, "ports"}, InvalidCase{{"--version", "send"}, "--version"}));

struct SerialCase {
    std::vector<std::string> arguments;
    CommandLineAction action;
    unsigned baud;
    std::optional<std::uint16_t> address;
    bool verify;
    bool echo;
};

class SerialCommandLine : public testing::TestWithParam<SerialCase> {};

TEST_P(SerialCommandLine, SetsThePortAndItsOptions) {
    const SerialCase &c = GetParam();
    const ParsedCommandLine parsed = parse(c.arguments);
    ASSERT_EQ(parsed.action, c.action) << parsed.error;
    EXPECT_EQ(parsed.send.port, std::optional<std::string>("/dev/ttyUSB0"));
    EXPECT_EQ(parsed.send.baud, c.baud);
    EXPECT_EQ(parsed.send.address, c.address);
    EXPECT_EQ(parsed.send.verify, c.verify);
    EXPECT_EQ(parsed.send.echo, c.echo);
}

INSTANTIATE_TEST_SUITE_P(
    Options, SerialCommandLine,
    testing::Values(SerialCase{{"send", "f", "--port", "/dev/ttyUSB0"}, CommandLineAction::Send, 9600, {}, true, false},
                    SerialCase{{"send", "f", "--port=/dev/ttyUSB0", "--baud", "300", "--address", "fe0", "--no-verify",
                                "--echo"},
                               CommandLineAction::Send,
                               300,
                               0x0FE0,
                               false,
                               true},
                    SerialCase{{"verify", "f", "--port", "/dev/ttyUSB0", "--address=A000"},
                               CommandLineAction::Verify,
                               9600,
                               0xA000,
                               true,
                               false}));

TEST(CommandLineArguments, PortsListsThePorts) {
    EXPECT_EQ(parse({"ports"}).action, CommandLineAction::ListPorts);
    EXPECT_FALSE(parse({"send", "f"}).send.port);
}

} // namespace
} // namespace quorvane::ui
