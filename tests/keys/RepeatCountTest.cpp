// Repeat counts: halves to even, the floor of 1, the cap, and values beyond 32 bits or not numbers at all.
#include "keys/RepeatCount.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quorvane::keys {
namespace {

struct CountCase {
    double value;
    int expected;
};

constexpr double kInf = std::numeric_limits<double>::infinity();

const CountCase kCountCases[] = {
    {1, 1},
    {2, 2},
    {2.5, 2},
    {3.5, 4},
    {1.5, 2},
    {0.5, 1}, // rounds to 0, then the floor of 1
    {0.49, 1},
    {4.4999, 4},
    {4.5001, 5},
    {0, 1},
    {-3, 1},
    {-2.5, 1},
    {9999.5, 10000},
    {10000, kMaxRepeatCount},
    {10000.5, kMaxRepeatCount},
    {10001, kMaxRepeatCount},
    {2147483647.0, kMaxRepeatCount},
    {2147483648.0, kMaxRepeatCount},
    {-2147483649.0, 1},
    {1e300, kMaxRepeatCount},
    {-1e300, 1},
    {kInf, kMaxRepeatCount},
    {-kInf, 1},
    {std::numeric_limits<double>::quiet_NaN(), 1},
};

class RepeatCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(RepeatCountTest, RoundsHalfToEvenWithinBounds) {
    EXPECT_EQ(repeatCountFromNumber(GetParam().value), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, RepeatCountTest, ::testing::ValuesIn(kCountCases));

TEST(RepeatCountText, ReadsTheLeadingNumberOfTheCountText) {
    const struct {
        std::u16string_view text;
        int expected;
    } cases[] = {
        {u"", 1},
        {u"x", 1},
        {u"3", 3},
        {u"3x", 3},
        {u"&H10", 16},
        {u"&O10", 8},
        {u"2.5", 2},
        {u"1e3", 1000},
        {u"1e99999", kMaxRepeatCount},
        {u"-1e99999", 1},
        {u"&H"
         u"FFFFFFFFFFFFFFFFFFFFFFFF",
         kMaxRepeatCount},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(repeatCount(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
    }
}

} // namespace
} // namespace quorvane::keys
