// Serial timing on a simulated clock: the re-entry delay, the discarded pending character, overrun, line rate,
// and the line factor a tagged object transfer needs.
#include "BoardSession.h"
#include "TransferSchedule.h"

#include <gtest/gtest.h>

namespace quorvane::boardsim::test {
namespace {

constexpr Micros kMs = 1000;

struct Burst {
    std::string_view bytes;
    Micros at;
};

struct TimingCase {
    const char *name;
    Micros busy;
    Micros charTime;
    unsigned baud;
    std::vector<Burst> bursts;
    std::string_view image;
    std::size_t lost;
    unsigned errors;
};

const TimingCase kCases[] = {
    {"TypedDuringDelayIsLost", 100 * kMs, 0, 0, {{"\r", 0}, {"IM FE00\r1\r", 50 * kMs}}, "", 10, 1},
    {"TypedAfterDelayIsTaken", 100 * kMs, 0, 0, {{"\r", 0}, {"IM FE00\r1\r", 100 * kMs + 1}}, "FE00=0001\n", 0, 1},
    {"PendingCharacterDiscarded",
     100 * kMs,
     0,
     0,
     {{"\r", 0}, {"X", 50 * kMs}, {"IM FE00\r1\r", 150 * kMs}},
     "FE00=0001\n",
     1,
     1},
    {"LeavingMemoryStartsDelay",
     100 * kMs,
     0,
     0,
     {{"IM FE00\r1\r", 0}, {"IM FE02\r2\r", 20 * kMs}},
     "FE00=0001\n",
     10,
     0},
    {"OpeningMemoryStartsNoDelay", 100 * kMs, 0, 0, {{"IM FE00\r", 0}, {"5\r", 1}}, "FE00=0005\n", 0, 0},
    {"OverrunWhenFasterThanHandling", 0, 5 * kMs, 0, {{"IM FE00\r1234 \r", 0}}, "", 12, 1},
    {"HandledCharactersSpacedByHandlingTime", 0, 5 * kMs, 0, {{"I", 0}, {"M", 5 * kMs}, {" ", 10 * kMs}}, "", 0, 0},
    {"LineRateQueuesABurst", 0, 1042, 9600, {{"IM FE00\r1234 \r", 0}}, "FE00=1234\n", 0, 0},
};

class BoardTimingTest : public ::testing::TestWithParam<TimingCase> {};

TEST_P(BoardTimingTest, LosesExactlyWhatTheBoardWouldLose) {
    const TimingCase &c = GetParam();
    BoardConfig config = monitorConfig(MonitorKind::Evmbug);
    config.busyTime = c.busy;
    config.charTime = c.charTime;
    config.baud = c.baud;
    Board board(config);
    board.start();
    for (const Burst &burst : c.bursts) {
        for (char byte : burst.bytes) {
            board.receive(static_cast<std::uint8_t>(byte), burst.at);
        }
    }
    board.advanceTo(10'000 * kMs);
    EXPECT_EQ(board.memory().toText(), c.image);
    EXPECT_EQ(board.stats().lost, c.lost);
    EXPECT_EQ(board.errorCount(), c.errors);
    EXPECT_FALSE(board.nextDeadline().has_value());
}

INSTANTIATE_TEST_SUITE_P(Timing, BoardTimingTest, ::testing::ValuesIn(kCases),
                         [](const auto &param) { return std::string(param.param.name); });

TEST(BoardTiming, PromptComesOnlyWhenTheDelayEnds) {
    BoardConfig config = monitorConfig(MonitorKind::Evmbug);
    config.busyTime = 100 * kMs;
    Board board(config);
    board.start();
    board.takeOutput();
    board.receive('\r', 0);
    EXPECT_EQ(board.takeOutput(), "\r\nERROR 4");
    EXPECT_EQ(board.nextDeadline(), 100 * kMs);
    board.advanceTo(100 * kMs - 1);
    EXPECT_EQ(board.takeOutput(), "");
    board.advanceTo(100 * kMs);
    EXPECT_EQ(board.takeOutput(), "\r\nMON? ");
}

TEST(BoardTiming, PauseOnOpeningLosesWhatFollowsTheAddressCr) {
    struct Case {
        Micros dataAt;
        std::string_view image;
        std::size_t lost;
    };
    for (const Case &c : {Case{1, "", 2}, Case{100 * kMs + 1, "FE00=0005\n", 0}}) {
        BoardConfig config = monitorConfig(MonitorKind::Evmbug);
        config.busyTime = 100 * kMs;
        config.monitor.pauseOnOpen = true;
        Board board(config);
        board.start();
        for (char byte : std::string_view("IM FE00\r")) {
            board.receive(static_cast<std::uint8_t>(byte), 0);
        }
        EXPECT_EQ(board.takeOutput(), "\r\nMON? IM FE00");
        board.receive('5', c.dataAt);
        board.receive('\r', c.dataAt);
        board.advanceTo(10'000 * kMs);
        EXPECT_EQ(board.memory().toText(), c.image);
        EXPECT_EQ(board.stats().lost, c.lost);
    }
}

TEST(BoardTiming, SlowMonitorOverrunsEvenAtLineRate) {
    BoardConfig config = monitorConfig(MonitorKind::Evmbug);
    config.charTime = 3 * kMs;
    config.baud = 9600;
    SessionResult result = runSession(config, "IM FE00\r1234 \r");
    EXPECT_EQ(result.image, "");
    EXPECT_GT(result.errors, 0u);
}

const std::string kWorkedExample = "00010PROGNAME9FE00BC820B0000BFE047F809F\r\n:\r\n";

TEST(TransferSchedule, TypesTheWorkedExampleWithItsWaits) {
    Pacing pacing{2.0f, 0.5f};
    auto keys = taggedObjectKeystrokes(kWorkedExample, MonitorKind::Tibug, pacing);
    std::string typed;
    for (const Keystroke &key : keys) {
        typed += static_cast<char>(key.byte);
    }
    ASSERT_EQ(typed, "\rMFE00\rC820 0000 FE04 \r");
    const Micros line = 200 * kMs;
    const Micros hexChar = 3500 * 2;
    EXPECT_EQ(keys[1].at, line);     // M after the first CR
    EXPECT_EQ(keys[6].at, 6 * line); // the CR that opens FE00
    EXPECT_EQ(keys[7].at, 7 * line); // C
    EXPECT_EQ(keys[8].at, 7 * line + hexChar);
    EXPECT_EQ(keys[11].at, 7 * line + 4 * hexChar); // the space after C820
    EXPECT_EQ(keys[12].at, 8 * line + 4 * hexChar);
}

struct FactorCase {
    MonitorKind monitor;
    Micros busy;
    float lineFactor;
    bool losesCharacters;
};

class LineFactorTest : public ::testing::TestWithParam<FactorCase> {};

TEST_P(LineFactorTest, TooSmallAFactorVisiblyFails) {
    const FactorCase &c = GetParam();
    BoardConfig config = monitorConfig(c.monitor);
    config.busyTime = c.busy;
    config.baud = 9600;
    config.charTime = 1041;
    Board board(config);
    board.start();
    play(board, taggedObjectKeystrokes(kWorkedExample, c.monitor, Pacing{c.lineFactor, 1.0f}));
    bool exact = board.memory().toText() == "FE00=C820\nFE02=0000\nFE04=FE04\n";
    EXPECT_EQ(board.stats().lost > 0, c.losesCharacters);
    EXPECT_EQ(exact, !c.losesCharacters);
}

INSTANTIATE_TEST_SUITE_P(Factors, LineFactorTest,
                         ::testing::Values(FactorCase{MonitorKind::Evmbug, 100 * kMs, 0.5f, true},
                                           FactorCase{MonitorKind::Evmbug, 100 * kMs, 1.0f, true},
                                           FactorCase{MonitorKind::Evmbug, 100 * kMs, 1.5f, false},
                                           FactorCase{MonitorKind::Evmbug, 0, 0.1f, false},
                                           FactorCase{MonitorKind::Tibug, 200 * kMs, 1.5f, true},
                                           FactorCase{MonitorKind::Tibug, 200 * kMs, 3.0f, false}));

} // namespace
} // namespace quorvane::boardsim::test
