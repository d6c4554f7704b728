// Sessions at both monitors: typed bytes in, the memory kept, the errors counted and the text shown.
#include "BoardSession.h"

#include <gtest/gtest.h>

namespace quorvane::boardsim::test {
namespace {

struct SessionCase {
    const char *name;
    MonitorKind kind;
    bool revised;
    StartMode start;
    std::uint16_t address;
    std::string_view input;
    std::string_view image;
    unsigned errors;
    std::string_view shown; // a piece of the output that must appear
};

constexpr auto kEvm = MonitorKind::Evmbug;
constexpr auto kTib = MonitorKind::Tibug;
constexpr auto kPrompt = StartMode::Prompt;

const SessionCase kCases[] = {
    {"EvmStoresAndSteps", kEvm, false, kPrompt, 0, "IM FE00\r1234 \r", "FE00=1234\n", 0,
     "\r\nMON? IM FE00\r\nFE00=0000 1234 \r\nFE02=0000 \r\nMON? "},
    {"AddressForcedEven", kEvm, false, kPrompt, 0, "IM FE01\r1 \r", "FE00=0001\n", 0, "\r\nFE00=0000 "},
    {"LastFourDigitsCount", kEvm, false, kPrompt, 0, "IM FE00\r123456789 \r", "FE00=6789\n", 0, ""},
    {"FewDigitsRightJustified", kEvm, false, kPrompt, 0, "IM FE00\rA \r", "FE00=000A\n", 0, ""},
    {"TerminatorAloneStoresNothing", kEvm, false, kPrompt, 0, "IM FE00\r  12 \r", "FE04=0012\n", 0, ""},
    {"CommaGoesToNextWord", kEvm, false, kPrompt, 0, "IM FE00\r1,2,\r", "FE00=0001\nFE02=0002\n", 0, ""},
    {"MinusGoesBack", kEvm, false, kPrompt, 0, "IM FE02\r5-6\r", "FE00=0006\nFE02=0005\n", 0, "5-\r\nFE00="},
    {"CrStoresAndLeaves", kEvm, false, kPrompt, 0, "IM FE00\r77\r", "FE00=0077\n", 0, "77\r\nMON? "},
    {"ShowsStoredContents", kEvm, false, kPrompt, 0, "IM FE00\r1\rIM FE00\r\r", "FE00=0001\n", 0, "\r\nFE00=0001 "},
    {"InvalidCharacterIsError2", kEvm, false, kPrompt, 0, "IM FE00\r12G", "", 1, "12\r\nERROR 2\r\nMON? "},
    {"LowerCaseHexRejected", kEvm, false, kPrompt, 0, "IM FE00\ra", "", 1, "ERROR 2"},
    {"RevisedTakesLowerCase", kEvm, true, kPrompt, 0, "im fe00\rab \r", "FE00=00AB\n", 0, ""},
    {"LineFeedInMemoryIsError2", kEvm, false, kPrompt, 0, "IM FE00\r12\n", "", 1, "ERROR 2"},
    {"ImWithoutTerminatorIsError4", kEvm, false, kPrompt, 0, "IMFE00", "", 3, "IMF\r\nERROR 4\r\nMON? "},
    {"BareCrIsError4", kEvm, false, kPrompt, 0, "\r", "", 1, "\r\nERROR 4\r\nMON? "},
    {"LineFeedAtPromptIsError4", kEvm, false, kPrompt, 0, "\n", "", 1, "ERROR 4"},
    {"UnknownCommandIsError4", kEvm, false, kPrompt, 0, "XY\r", "", 1, "XY\r\nERROR 4"},
    {"TwoSpacesOpenZero", kEvm, false, kPrompt, 0, "IM  FE00\r", "0000=FE00\n", 0, "\r\n0000=0000 FE00"},
    {"WorksAgainAfterError", kEvm, false, kPrompt, 0, "IM FE00\rXIM FE10\r5\r", "FE10=0005\n", 1, ""},
    {"TibugStoresAndSteps", kTib, false, kPrompt, 0, "MFE00\r1234 \r", "FE00=1234\n", 0,
     "\r\n?M FE00\r\nFE00=0000 1234 \r\nFE02=0000 \r\n?"},
    {"TibugSpaceMakesDumpNotEdit", kTib, false, kPrompt, 0, "M FE00\r", "", 0, "\r\n0000= 0000 0000"},
    {"TibugDumpAddressError", kTib, false, kPrompt, 0, "M0010 0000\r", "", 1, "ERROR 3"},
    {"TibugCrAtPromptIsHarmless", kTib, false, kPrompt, 0, "\r", "", 0, "\r\n?\r\n?"},
    {"TibugLowerCaseCommandRejected", kTib, false, kPrompt, 0, "m", "", 1, "ERROR 4"},
    {"TibugRevisedTakesLowerCase", kTib, true, kPrompt, 0, "mfe00\r1\r", "FE00=0001\n", 0, ""},
    {"TibugUnknownCommand", kTib, false, kPrompt, 0, "X", "", 1, "\r\n?\r\nERROR 4"},
    {"StartInsideMemory", kTib, false, StartMode::Memory, 0xFE01, "1 2 \r", "FE00=0001\nFE02=0002\n", 0,
     "\r\nFE00=0000 1 \r\nFE02=0000 2 "},
    {"TextModeEchoes", kEvm, false, StartMode::Text, 0, "AB\rC", "", 0, "AB\r\nC"},
};

class MonitorSessionTest : public ::testing::TestWithParam<SessionCase> {};

TEST_P(MonitorSessionTest, KeepsMemoryAndShowsMonitorText) {
    const SessionCase &c = GetParam();
    BoardConfig config = monitorConfig(c.kind, c.start, c.address);
    config.monitor.revised = c.revised;
    SessionResult result = runSession(config, c.input);
    EXPECT_EQ(result.image, c.image);
    EXPECT_EQ(result.errors, c.errors);
    EXPECT_NE(result.output.find(c.shown), std::string::npos) << result.output.substr(0, 200);
}

INSTANTIATE_TEST_SUITE_P(Sessions, MonitorSessionTest, ::testing::ValuesIn(kCases),
                         [](const auto &param) { return std::string(param.param.name); });

} // namespace
} // namespace quorvane::boardsim::test
