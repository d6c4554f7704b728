// The serial transfers through the real quorvane into the simulated board on a pseudo-terminal pair, with the
// board's realistic timing: every transfer on both monitors, line faults that the read-back catches, a board that
// stops answering, a port that goes away and a port in use.
// GoogleTest first: Xlib, which the shared helpers' headers reach, defines macros (None, Bool) that it uses as names.
#include <gtest/gtest.h>

#include "tests/e2e/BoardTerminal.h"
#include "tests/e2e/ExpectedResults.h"
#include "tests/e2e/SerialBoard.h"
#include "tests/support/PollUntil.h"
#include "tests/support/TempDir.h"

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

std::string sample(const std::string &name) { return samplesFolder() + "/" + name; }

std::string sampleImage(const std::string &name) {
    return readFile(sample(name.substr(0, name.rfind('.')) + ".image")).value_or("(no sample image)");
}

struct TransferCase {
    const char *name;
    const char *file;
    const char *type;
    const char *monitor;
    const char *boardStart;
    std::vector<std::string> extra; // more quorvane arguments
    const char *expectedOutput;     // a part of what quorvane says
};

std::ostream &operator<<(std::ostream &out, const TransferCase &c) { return out << c.name; }

std::string expected(const TransferCase &c) {
    const std::string type = c.type;
    if (type == "text") {
        return typedText(readFile(sample(c.file)).value_or(""));
    }
    if (type == "hex") {
        return imageText(binaryMemory(readFile(sample(c.file)).value_or(""), 0xFE00));
    }
    return sampleImage(c.file);
}

class SerialTransferTest : public testing::TestWithParam<TransferCase> {};

TEST_P(SerialTransferTest, BoardHoldsTheFile) {
    const TransferCase &c = GetParam();
    std::string error;
    auto board = SerialBoard::start({c.monitor, c.boardStart, {}}, error);
    ASSERT_TRUE(board) << error;
    std::vector<std::string> arguments{"send",      sample(c.file), "--type", c.type,
                                       "--monitor", c.monitor,      "--port", board->port()};
    arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
    const CommandOutcome outcome = runQuorvane(arguments, board->folder() + "/quorvane.log");
    std::string status;
    const auto image = board->finish(&status);
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_NE(outcome.output.find(c.expectedOutput), std::string::npos) << outcome.output;
    const std::string received = readFile(board->folder() + "/received").value_or("");
    EXPECT_EQ(std::string(c.type) == "text" ? received : image.value_or(""), expected(c));
    EXPECT_NE(status.find("lost=0"), std::string::npos) << status;
}

const std::vector<std::string> kAtFE00{"--address", "FE00"};

INSTANTIATE_TEST_SUITE_P(
    AllTransfers, SerialTransferTest,
    testing::Values(TransferCase{"ObjectEvmbug", "demo.obj", "object", "evmbug", "prompt", {}, "verified: 10 words"},
                    TransferCase{"ObjectTibug", "demo.obj", "object", "tibug", "prompt", {}, "verified: 10 words"},
                    TransferCase{"HexEvmbug", "even.bin", "hex", "evmbug", "prompt", kAtFE00, "verified: 5 words"},
                    TransferCase{"HexOddTibug", "odd.bin", "hex", "tibug", "prompt", kAtFE00, "verified: 3 words"},
                    TransferCase{"LoaderEvmbug", "demo.obj", "loader", "evmbug", "loader", {}, ""},
                    TransferCase{"LoaderTibug", "reloc.obj", "loader", "tibug", "loader", {}, ""},
                    TransferCase{"TextEvmbug", "hello.bas", "text", "evmbug", "text", {}, ""},
                    TransferCase{"TextTibug", "ascii.txt", "text", "tibug", "text", {}, ""}),
    [](const auto &param) { return std::string(param.param.name); });

struct FaultCase {
    const char *name;
    const char *monitor;
    std::vector<std::string> boardFault;
    const char *expectedOutput;
};

std::ostream &operator<<(std::ostream &out, const FaultCase &c) { return out << c.name; }

class ReadBackTest : public testing::TestWithParam<FaultCase> {};

// even.bin at FE00 through EVMBUG: byte 1 is the opening CR, 2-8 "IM FE00", 9 its CR, 10-14 "1234 "; through
// TIBUG "MFE00" is two bytes shorter, so its second word "0AFF " is bytes 13-17.
TEST_P(ReadBackTest, CatchesAWordTheLineSpoilt) {
    const FaultCase &c = GetParam();
    std::string error;
    auto board = SerialBoard::start({c.monitor, "prompt", c.boardFault}, error);
    ASSERT_TRUE(board) << error;
    const CommandOutcome outcome =
        runQuorvane({"send", sample("even.bin"), "--monitor", c.monitor, "--address", "FE00", "--port", board->port()},
                    board->folder() + "/quorvane.log");
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    EXPECT_NE(outcome.output.find("Verification failed: 1 of 5 words differ from the file."), std::string::npos)
        << outcome.output;
    EXPECT_NE(outcome.output.find(c.expectedOutput), std::string::npos)
        << outcome.output << readFile(board->folder() + "/received").value_or("");
}

INSTANTIATE_TEST_SUITE_P(
    LineFaults, ReadBackTest,
    testing::Values(FaultCase{"ChangedDigit", "evmbug", {"--change-byte", "11"}, "FE00 expected 1234 found 1334"},
                    FaultCase{"DroppedDigit", "evmbug", {"--drop-byte", "12"}, "FE00 expected 1234 found 0124"},
                    FaultCase{"DroppedDigitTibug", "tibug", {"--drop-byte", "14"}, "FE02 expected 0AFF found 00FF"}),
    [](const auto &param) { return std::string(param.param.name); });

TEST(SerialFaults, VerifyAloneReadsBackWithoutStoring) {
    std::string error;
    auto board = SerialBoard::start({"evmbug", "prompt", {}}, error);
    ASSERT_TRUE(board) << error;
    const CommandOutcome outcome = runQuorvane(
        {"verify", sample("demo.obj"), "--type", "object", "--port", board->port()}, board->folder() + "/q.log");
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_NE(outcome.output.find("10 of 10 words differ"), std::string::npos) << outcome.output;
    EXPECT_NE(outcome.output.find("FE00 expected 02E0 found 0000"), std::string::npos) << outcome.output;
    const CommandOutcome folder =
        runQuorvane({"verify", board->folder(), "--port", board->port()}, board->folder() + "/folder.log");
    EXPECT_EQ(folder.exitStatus, 2);
    EXPECT_NE(folder.output.find("quorvane: not a regular file: " + board->folder()), std::string::npos)
        << folder.output;
    EXPECT_EQ(board->finish().value_or("(none)"), "");
}

TEST(SerialFaults, BoardThatStopsAnsweringEndsTheTransfer) {
    std::string error;
    auto board = SerialBoard::start({"evmbug", "prompt", {}}, error);
    ASSERT_TRUE(board) << error;
    board->freeze();
    const CommandOutcome outcome = runQuorvane(
        {"send", sample("even.bin"), "--address", "FE00", "--port", board->port()}, board->folder() + "/q.log", 20s);
    EXPECT_EQ(outcome.exitStatus, 1);
    // The prompt the board showed at its start may still be on the line, so the silence can show at the start or
    // at the memory command.
    EXPECT_NE(outcome.output.find("The board stopped answering at the "), std::string::npos) << outcome.output;
    EXPECT_NE(outcome.output.find(": nothing came back for 1.1 s. Sent last: \"<CR>"), std::string::npos)
        << outcome.output;
}

TEST(SerialFaults, PortThatGoesAwayEndsTheTransfer) {
    std::string error;
    auto board = SerialBoard::start({"evmbug", "prompt", {}}, error);
    ASSERT_TRUE(board) << error;
    const std::string big = board->folder() + "/big.bin";
    ASSERT_TRUE(writeFile(big, std::string(512, '\x5A')));
    auto run = QuorvaneRun::start({"send", big, "--address", "FE00", "--port", board->port(), "--echo"},
                                  board->folder() + "/q.log");
    ASSERT_TRUE(run);
    ASSERT_TRUE(pollUntil(
        [&] { return readFile(board->folder() + "/q.log").value_or("").find("FE10=") != std::string::npos; }, 20s));
    board->unplug();
    const CommandOutcome outcome = run->wait(20s);
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_NE(outcome.output.find("The serial line failed at the word for address"), std::string::npos)
        << outcome.output;
}

TEST(SerialFaults, PortInUseSaysWhoHoldsItAndSendsNothing) {
    std::string error;
    auto board = SerialBoard::start({"evmbug", "prompt", {}}, error);
    ASSERT_TRUE(board) << error;
    auto holder = QuorvaneRun::start({"send", sample("demo.obj"), "--type", "object", "--port", board->port()},
                                     board->folder() + "/holder.log");
    ASSERT_TRUE(holder);
    ASSERT_TRUE(pollUntil([&] { return !readFile(board->folder() + "/received").value_or("").empty(); }, 10s));
    const CommandOutcome outcome = runQuorvane(
        {"send", sample("even.bin"), "--address", "FE00", "--port", board->port()}, board->folder() + "/q.log", 20s);
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_NE(
        outcome.output.find("is in use by quorvane (process " + std::to_string(holder->pid()) + "). Nothing was sent."),
        std::string::npos)
        << outcome.output;
    EXPECT_EQ(holder->wait(30s).exitStatus, 0);
}

} // namespace
} // namespace quorvane::test
