// The factor read, the rounding of Delay and CharDelay, and the waits on a manual clock.
#include "engine/Pacer.h"
#include "platform/fake/FakeEventPump.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quorvane::engine {
namespace {

using namespace std::chrono_literals;
constexpr float kFloatMax = std::numeric_limits<float>::max();

TEST(FactorRead, ReadsTheLeadingNumberInSinglePrecision) {
    const struct {
        const char *text;
        float expected;
    } cases[] = {
        {"1.0", 1.0f},          {"2.5", 2.5f}, {"1,5", 1.0f},       {" 2x", 2.0f},       {"1e1", 10.0f},
        {"1 5", 15.0f},         {"", 0.0f},    {"abc", 0.0f},       {"-1", -1.0f},       {"&H10", 16.0f},
        {"&O17", 15.0f},        {"2.3", 2.3f}, {"0.0001", 0.0001f}, {"1e39", kFloatMax}, {"1e400", kFloatMax},
        {"-1e400", -kFloatMax}, {".5", 0.5f},  {"3 . 5", 3.5f},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(readFactor(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(DelayInterval, RoundsHalvesToEvenAndClampsToTheTimerRange) {
    const struct {
        float seconds;
        float factor;
        std::int64_t expected;
    } cases[] = {
        {1.0f, 1.0f, 1000},
        {0.1f, 1.0f, 100},
        {0.1f, 2.5f, 250},
        {0.1f, 0.01f, 1},
        {0.1f, 655.35f, 65535},
        {0.1f, 0.005f, 0},
        {0.1f, 0.0051f, 1},
        {0.1f, 700.0f, 65535},
        {0.1f, kFloatMax, 65535},
        {0.1f, -1.0f, 0},
        {0.1f, 0.0f, 0},
        {0.1f, 0.5f, 50},
        {0.0625f, 1.0f, 62},
        {0.1875f, 1.0f, 188},
        {0.3125f, 1.0f, 312},
        {0.0625f, 3.0f, 188},
        {0.1f, std::numeric_limits<float>::infinity(), 65535},
        {0.1f, std::nanf(""), 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(delayMilliseconds(c.seconds, c.factor), c.expected) << c.seconds << " x " << c.factor;
    }
}

TEST(CharDelayPasses, CountsTheWholePartOfTheSinglePrecisionProduct) {
    const struct {
        float base;
        float factor;
        std::uint64_t expected;
    } cases[] = {
        {7000, 1.0f, 7000},
        {5000, 1.0f, 5000},
        {1000, 1.0f, 1000},
        {7000, 0.5f, 3500},
        {5000, 0.5f, 2500},
        {7000, 2.3f, 16100},
        {5000, 2.3f, 11500},
        {7000, 3.0f, 21000},
        {5000, 3.0f, 15000},
        {7000, 0.0001f, 0},
        {7000, 0.00015f, 1},
        {5000, 0.00015f, 0},
        {7000, 0.0f, 0},
        {7000, -1.0f, 0},
        {7001, 2397.0f, 16781396},
        {7000, kFloatMax, kMaxCharDelayPasses},
        {7000, std::numeric_limits<float>::infinity(), kMaxCharDelayPasses},
        {7000, std::nanf(""), 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(charDelayPasses(c.base, c.factor), c.expected) << c.base << " x " << c.factor;
    }
}

TEST(CharDelayPasses, TheLongestCharacterWaitIsTheTimerLimit) {
    EXPECT_EQ(kMaxCharDelayPasses * kCharDelayPassLength, std::chrono::milliseconds(kMaxWaitMilliseconds));
}

class PacerTest : public ::testing::Test {
protected:
    platform::Transcript transcript;
    platform::ManualClock clock;
    platform::FakeTimer timer{clock, &transcript};
    platform::FakeEventPump pump{clock, timer, &transcript};
    Pacer pacer{pump, timer, clock};
};

TEST_F(PacerTest, DelayBlocksUntilItsTickAndLeavesTheTimerOff) {
    bool waitingDuringWait = false;
    pump.at(40ms, [&] { waitingDuringWait = pacer.WaitingForTimer(); });
    pacer.Delay(0.1f, 1.0f);
    EXPECT_EQ(clock.elapsed(), 100ms);
    EXPECT_TRUE(waitingDuringWait);
    EXPECT_FALSE(pacer.WaitingForTimer());
    EXPECT_FALSE(timer.deadline().has_value());
    EXPECT_EQ(transcript.entries(), std::vector<std::string>{"delay 100ms"});
}

TEST_F(PacerTest, AZeroIntervalIsOnePassAndNoTimer) {
    pacer.Delay(0.1f, 0.0f);
    EXPECT_EQ(timer.starts(), 0);
    EXPECT_EQ(pump.passes(), 1u);
    EXPECT_EQ(clock.elapsed(), 0ns);
}

TEST_F(PacerTest, CharDelayLastsPassesTimesThePassLength) {
    pacer.CharDelay(7000.0f, 1.0f);
    EXPECT_EQ(clock.elapsed(), 14ms);
    pacer.CharDelay(5000.0f, 0.0f);
    EXPECT_EQ(clock.elapsed(), 14ms);
    EXPECT_EQ(pump.passes(), 0u);
}

TEST_F(PacerTest, EventsDuringACharDelayAreHandledWithoutEndingIt) {
    int handled = 0;
    pump.at(3ms, [&] { ++handled; });
    pump.at(9ms, [&] { ++handled; });
    pacer.CharDelay(5000.0f, 1.0f);
    EXPECT_EQ(handled, 2);
    EXPECT_EQ(clock.elapsed(), 10ms);
}

TEST_F(PacerTest, AbandonEndsTheWaitUnderWayAndEveryLaterOne) {
    pump.at(30ms, [&] { pacer.abandon(); });
    pacer.Delay(1.0f, 1.0f);
    EXPECT_EQ(clock.elapsed(), 30ms);
    EXPECT_FALSE(pacer.WaitingForTimer());
    EXPECT_FALSE(timer.deadline().has_value());
    pacer.Delay(1.0f, 1.0f);
    pacer.CharDelay(7000.0f, 1.0f);
    EXPECT_EQ(clock.elapsed(), 30ms);
    pacer.reset();
    pacer.CharDelay(7000.0f, 1.0f);
    EXPECT_EQ(clock.elapsed(), 44ms);
}

TEST_F(PacerTest, AbandonCutsALongCharacterWaitShort) {
    pump.at(100ms, [&] { pacer.abandon(); });
    pacer.CharDelay(7000.0f, kFloatMax);
    EXPECT_GE(clock.elapsed(), 100ms);
    EXPECT_LE(clock.elapsed(), 150ms);
}

TEST_F(PacerTest, AnOverflowingFactorGivesTheCappedWait) {
    pacer.CharDelay(7000.0f, readFactor("1e39"));
    EXPECT_EQ(clock.elapsed(), 65535ms);
    pacer.Delay(0.1f, readFactor("1e400"));
    EXPECT_EQ(clock.elapsed(), 2 * 65535ms);
}

} // namespace
} // namespace quorvane::engine
