// The leading-number read over both text encodings: signs, fractions, exponents, &H / &O, blanks, overflow.
#include "keys/LeadingNumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace quorvane::keys {
namespace {

struct NumberCase {
    const char *text;
    double expected;
};

constexpr double kInf = std::numeric_limits<double>::infinity();

const NumberCase kNumberCases[] = {
    {"", 0},
    {"abc", 0},
    {"12", 12},
    {"1.0", 1},
    {"2.5", 2.5},
    {"-3.5", -3.5},
    {"+7", 7},
    {".5", 0.5},
    {"5.", 5},
    {".", 0},
    {"-", 0},
    {"+-3", 0},
    {"1.2.3", 1.2},
    {"12abc", 12},
    {"1e3", 1000},
    {"1E3", 1000},
    {"2.5e-1", 0.25},
    {"-.5e+1", -5},
    {"1e", 1},
    {"1e+", 1},
    {"1ex", 1},
    {"3d2", 3}, // only E starts an exponent
    {" 1 2 ", 12},
    {"\t-\n4", -4},
    {"1 . 5 e 1", 15},
    {"&H1F", 31},
    {"&hff", 255},
    {"&O17", 15},
    {"&o8", 0},
    {"&H", 0},
    {"&Hzz", 0},
    {"&X10", 0},
    {"& H 1 0", 16},
    {"-&H10", 0}, // a sign does not go with &H
    {"&H1.5", 1},
    {"0.1", 0.1},
    {"1e308", 1e308},
    {"1e309", kInf},
    {"-1e400", -kInf},
    {"0.001e400", kInf},
    {"1e-400", 0},
    {"0e99999999999999999999", 0},
    {"123456789012345678901234567890", 1.2345678901234568e29},
};

class LeadingNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumberTest, ReadsTheSameInBothEncodings) {
    const NumberCase &c = GetParam();
    const std::string utf8 = c.text;
    const std::u16string utf16(utf8.begin(), utf8.end());
    EXPECT_EQ(leadingNumber(utf8), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(leadingNumber(utf16), c.expected) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, LeadingNumberTest, ::testing::ValuesIn(kNumberCases));

TEST(LeadingNumberLimits, HugeHexadecimalBecomesInfinityAndNonAsciiStops) {
    EXPECT_EQ(leadingNumber(std::string("&H") + std::string(400, 'F')), kInf);
    EXPECT_EQ(leadingNumber(std::u16string(u"4\u0661")), 4); // Arabic-Indic digit one is not a digit here
    EXPECT_EQ(leadingNumber(std::string("7\xC3\xA9")), 7);
    EXPECT_EQ(leadingNumber(std::u16string(u"\uFF11")), 0); // fullwidth digit one
}

} // namespace
} // namespace quorvane::keys
