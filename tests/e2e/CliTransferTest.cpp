// Every file type on both monitors through `quorvane send`, with and without a window manager.
// GoogleTest first: Xlib defines macros (None, Bool) that its headers use as names.
#include <gtest/gtest.h>

#include "tests/e2e/BoardTerminal.h"
#include "tests/e2e/ExpectedResults.h"
#include "tests/e2e/QuorvaneProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/XQueries.h"

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

struct CliCase {
    const char *name;
    const char *file; // in samples/
    const char *type; // --type
    const char *monitor;
    const char *boardStart;                    // boardsim --start
    std::optional<std::uint16_t> startAddress; // of the memory command the user opened, for ignored tags and hex
    bool ignoreAddressTags;
    bool windowManager;
    Check check;
    const char *title = "COM1 - Tera Term VT";
    const char *terminal = "teraterm";
    const char *layout = "us";
    bool capsLock = false;
    const char *output = ""; // a text that quorvane's output must hold
};

std::ostream &operator<<(std::ostream &out, const CliCase &c) { return out << c.name; }

class CliTransferTest : public testing::TestWithParam<CliCase> {};

TEST_P(CliTransferTest, BoardEndsWithTheFileContents) {
    const CliCase &c = GetParam();
    std::string error;
    auto session = XSession::start({.windowManager = c.windowManager, .layout = c.layout}, error);
    ASSERT_TRUE(session) << error;
    ASSERT_TRUE(session->setCapsLock(c.capsLock));
    auto board = BoardTerminal::start(*session, {c.monitor, c.boardStart, c.title, {}}, error);
    ASSERT_TRUE(board) << error;
    const std::string path = samplesFolder() + "/" + c.file;
    const auto content = readFile(path);
    ASSERT_TRUE(content) << path;
    const std::string expected = expectedResult(c.check, c.file, *content, c.startAddress);
    ASSERT_FALSE(expected.empty()) << "the case expects nothing to arrive";
    const KeyboardState before = keyboardState(session->display());

    std::vector<std::string> arguments = {"send",       path,       "--type",        c.type, "--monitor",     c.monitor,
                                          "--terminal", c.terminal, "--char-factor", "0.05", "--line-factor", "0.1"};
    if (c.ignoreAddressTags) {
        arguments.push_back("--ignore-address-tags");
    }
    const SendOutcome outcome = runSend(*session, arguments);
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_NE(outcome.output.find(c.output), std::string::npos) << outcome.output;

    if (c.check == Check::Text) {
        EXPECT_EQ(board->waitForReceived([&](const std::string &bytes) { return bytes == expected; }, 5s), expected);
    } else {
        EXPECT_EQ(board->waitForImage(expected, 5s), expected);
    }
    const KeyboardState after = keyboardState(session->display());
    EXPECT_EQ(after.pressedKeycodes, before.pressedKeycodes) << describeDifference(before, after);
    EXPECT_EQ(after.lockedModifiers, before.lockedModifiers) << describeDifference(before, after);
    EXPECT_EQ(after.baseModifiers, before.baseModifiers) << describeDifference(before, after);
}

INSTANTIATE_TEST_SUITE_P(
    AllTypes, CliTransferTest,
    testing::Values(
        CliCase{"LoaderEvmbugOpenbox", "demo.obj", "loader", "evmbug", "loader", {}, false, true, Check::SampleImage},
        CliCase{"LoaderTibugBare", "reloc.obj", "loader", "tibug", "loader", {}, false, false, Check::SampleImage},
        CliCase{"ObjectEvmbugOpenbox", "demo.obj", "object", "evmbug", "prompt", {}, false, true, Check::ObjectImage},
        CliCase{"ObjectTibugBareHyperTerminal",
                "demo.obj",
                "object",
                "tibug",
                "prompt",
                {},
                false,
                false,
                Check::ObjectImage,
                "board - HyperTerminal",
                "hyperterminal"},
        CliCase{"ObjectIgnoringTagsEvmbugBare", "demo.obj", "object", "evmbug", "memory:1000", 0x1000, true, false,
                Check::ObjectImageIgnoringTags},
        CliCase{"ObjectIgnoringTagsTibugOpenbox", "demo.obj", "object", "tibug", "memory:0200", 0x0200, true, true,
                Check::ObjectImageIgnoringTags},
        CliCase{"HexEvmbugOpenbox", "even.bin", "hex", "evmbug", "memory:FE00", 0xFE00, false, true,
                Check::BinaryImage},
        CliCase{"HexOddLengthTibugBare", "odd.bin", "hex", "tibug", "memory:0100", 0x0100, false, false,
                Check::BinaryImage},
        CliCase{"TextEvmbugOpenbox", "hello.bas", "text", "evmbug", "text", {}, false, true, Check::Text},
        CliCase{"TextTibugBare", "ascii.txt", "text", "tibug", "text", {}, false, false, Check::Text},
        // Hex digits and tag letters where digits need Shift (AZERTY) or Caps Lock would change the letters.
        CliCase{"HexFrenchCapsLockOpenbox", "even.bin", "hex", "evmbug", "memory:FE00", 0xFE00, false, true,
                Check::BinaryImage, "COM1 - Tera Term VT", "teraterm", "fr", true},
        CliCase{"ObjectGermanCapsLockBare",
                "demo.obj",
                "object",
                "tibug",
                "prompt",
                {},
                false,
                false,
                Check::ObjectImage,
                "COM1 - Tera Term VT",
                "teraterm",
                "de",
                true},
        CliCase{"LoaderFrenchBare",
                "demo.obj",
                "loader",
                "evmbug",
                "loader",
                {},
                false,
                false,
                Check::SampleImage,
                "COM1 - Tera Term VT",
                "teraterm",
                "fr",
                false},
        // 80-character records with no line ends, as a fixed-record disk file holds them.
        CliCase{"LoaderRecordsEvmbugBare",
                "records.obj",
                "loader",
                "evmbug",
                "loader",
                {},
                false,
                false,
                Check::SampleImage},
        CliCase{"ObjectRecordsEvmbugOpenbox",
                "records.obj",
                "object",
                "evmbug",
                "prompt",
                {},
                false,
                true,
                Check::SampleImage},
        CliCase{
            "ObjectRecordsTibugBare", "records.obj", "object", "tibug", "prompt", {}, false, false, Check::SampleImage},
        // END START and DEF: an entry address and definitions, which a memory command does not type.
        CliCase{
            "LoaderEntryTibugOpenbox", "entry.obj", "loader", "tibug", "loader", {}, false, true, Check::SampleImage},
        CliCase{"ObjectEntryEvmbugBare",
                "entry.obj",
                "object",
                "evmbug",
                "prompt",
                {},
                false,
                false,
                Check::SampleImage,
                "COM1 - Tera Term VT",
                "teraterm",
                "us",
                false,
                "The program's entry is at B000."},
        CliCase{"ObjectEntryTibugOpenbox",
                "entry.obj",
                "object",
                "tibug",
                "prompt",
                {},
                false,
                true,
                Check::SampleImage,
                "COM1 - Tera Term VT",
                "teraterm",
                "us",
                false,
                "The program's entry is at B000."}),
    [](const testing::TestParamInfo<CliCase> &param) { return std::string(param.param.name); });

// Closes a record of tagged fields with its checksum: the two's complement of the sum of its characters
// through the "7" tag.
std::string withChecksum(const std::string &fields) {
    std::string record = fields + '7';
    unsigned sum = 0;
    for (const char ch : record) {
        sum += static_cast<unsigned char>(ch);
    }
    char checksum[8];
    std::snprintf(checksum, sizeof checksum, "%04X", (0x10000u - (sum & 0xFFFFu)) & 0xFFFFu);
    return record + checksum + "F";
}

// The loader takes the file verbatim, so a program name made of the key grammar's own characters must arrive
// as it stands: one changed character fails the record's checksum on the board.
TEST(LoaderVerbatimTest, GrammarCharactersInTheProgramNameArriveUnchanged) {
    std::string error;
    auto session = XSession::start({}, error);
    ASSERT_TRUE(session) << error;
    auto board = BoardTerminal::start(*session, {"evmbug", "loader", "COM1 - Tera Term VT", {}}, error);
    ASSERT_TRUE(board) << error;
    const std::string content =
        withChecksum("00000{+^%~()}9FE00B1234BABCD") + "\r\n" + withChecksum("9FF00B0A0D") + "\r\n:       {}+^%~()\r\n";
    const std::string path = session->tempDir() + "/grammar.obj";
    ASSERT_TRUE(writeFile(path, content));
    const std::string expected = imageText(objectCodeMemory(content, std::nullopt));

    const SendOutcome outcome = runSend(*session, {"send", path, "--type", "loader"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;

    EXPECT_EQ(board->waitForImage(expected, 5s), expected);
    EXPECT_NE(board->status().value_or("").find("errors=0\n"), std::string::npos) << board->status().value_or("");
}

// The original ROMs take upper-case hex digits only (the simulated board without --revised too), so digits
// written in lower case must reach the memory command in upper case.
TEST(ObjectDigitsTest, LowerCaseDigitsReachAMonitorThatTakesUpperCaseOnly) {
    std::string error;
    auto session = XSession::start({}, error);
    ASSERT_TRUE(session) << error;
    auto board = BoardTerminal::start(*session, {"tibug", "prompt", "COM1 - Tera Term VT", {}}, error);
    ASSERT_TRUE(board) << error;
    const std::string content =
        withChecksum("00000lower   9fe00Bc820Babcd") + "\r\n" + withChecksum("9ff00B0a0d") + "\r\n:\r\n";
    const std::string path = session->tempDir() + "/lower.obj";
    ASSERT_TRUE(writeFile(path, content));
    const std::string expected = "FE00=C820\nFE02=ABCD\nFF00=0A0D\n";

    const SendOutcome outcome = runSend(*session, {"send", path, "--type", "object", "--monitor", "tibug",
                                                   "--char-factor", "0.05", "--line-factor", "0.1"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;

    EXPECT_EQ(board->waitForImage(expected, 5s), expected);
    EXPECT_NE(board->status().value_or("").find("errors=0\n"), std::string::npos) << board->status().value_or("");
}

// A board with the real monitor's limits: the re-entry delay after a command's CR, the serial line's speed.
struct PacingCase {
    const char *name;
    const char *monitor;
    const char *lineFactor;
    bool enough; // the factor the README recommends, or one far too small
};

std::ostream &operator<<(std::ostream &out, const PacingCase &c) { return out << c.name; }

std::optional<long> statusCount(const std::string &status, const std::string &name) {
    const auto at = status.find(name + "=");
    if (at == std::string::npos) {
        return std::nullopt;
    }
    return std::strtol(status.c_str() + at + name.size() + 1, nullptr, 10);
}

class RealisticBoardTest : public testing::TestWithParam<PacingCase> {};

TEST_P(RealisticBoardTest, RecommendedLineFactorLosesNothingAndTooSmallVisiblyFails) {
    const PacingCase &c = GetParam();
    std::string error;
    auto session = XSession::start({}, error);
    ASSERT_TRUE(session) << error;
    auto board = BoardTerminal::start(*session, {c.monitor, "prompt", "COM1 - Tera Term VT", {"--realistic"}}, error);
    ASSERT_TRUE(board) << error;
    const std::string path = samplesFolder() + "/demo.obj";
    const auto content = readFile(path);
    ASSERT_TRUE(content);
    const std::string expected = imageText(objectCodeMemory(*content, std::nullopt));

    const SendOutcome outcome = runSend(*session, {"send", path, "--type", "object", "--monitor", c.monitor,
                                                   "--char-factor", "1.0", "--line-factor", c.lineFactor});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;

    const auto image = board->waitForImage(expected, c.enough ? 5s : 1s);
    const std::string status = board->status().value_or("");
    const auto lost = statusCount(status, "lost");
    ASSERT_TRUE(lost) << status;
    if (c.enough) {
        EXPECT_EQ(image, expected);
        EXPECT_EQ(*lost, 0) << status;
    } else {
        EXPECT_NE(image, expected);
        EXPECT_GT(*lost, 0) << status;
    }
}

INSTANTIATE_TEST_SUITE_P(Factors, RealisticBoardTest,
                         testing::Values(PacingCase{"EvmbugRecommended", "evmbug", "1.5", true},
                                         PacingCase{"EvmbugTooFast", "evmbug", "0.1", false},
                                         PacingCase{"TibugRecommended", "tibug", "3.0", true},
                                         PacingCase{"TibugTooFast", "tibug", "0.5", false}),
                         [](const testing::TestParamInfo<PacingCase> &param) { return std::string(param.param.name); });

} // namespace
} // namespace quorvane::test
