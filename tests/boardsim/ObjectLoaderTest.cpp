// The tagged object loader: records with good and bad checksums, every tag, relocation and record layouts.
#include "ObjectLoader.h"
#include "BoardSession.h"

#include <gtest/gtest.h>

namespace quorvane::boardsim::test {
namespace {

struct LoaderCase {
    const char *name;
    std::string input;
    std::uint16_t bias;
    std::string_view image;
    unsigned errors;
    std::string_view shown;
};

// An 80-column record: the fields, blanks, and a sequence number in columns 77-80.
std::string card(std::string_view record, std::string_view sequence) {
    std::string text(record);
    text.resize(76, ' ');
    return text + std::string(sequence);
}

const LoaderCase kCases[] = {
    {"WorkedExample", "00010PROGNAME9FE00BC820B0000BFE047F809F\r:\r", 0, "FE00=C820\nFE02=0000\nFE04=FE04\n", 0,
     "\r\nMON? "},
    {"WorkedExampleAsPrintedFailsItsChecksum", "00010PROGNAME9FE00BC820B0000BFE047F1A2", 0,
     "FE00=C820\nFE02=0000\nFE04=FE04\n", 1, "7F1A2\r\nERROR 1\r\nMON? "},
    {"EmptyChecksumRecord", "7FFC9F\r:\r", 0, "", 0, ""},
    {"SequenceNumberAfterF", card("9FE00B12347FD99F", "0001") + "\r:", 0, "FE00=1234\n", 0, ""},
    {"RecordsBackToBackWithoutLineEnds", card("9FE00B12347FD99F", "0001") + card("9FE00B00017FDA2F", "0002") + ":", 0,
     "FE00=0001\n", 0, ""},
    {"TwoRecordsOneLoad", "9FE00B12347FD99F\r9FF00B5555BAAAA7FC48F\r:\r", 0, "FE00=1234\nFF00=5555\nFF02=AAAA\n", 0,
     ""},
    {"Tag8IgnoresChecksum", "9FE00B12348ABCDF\r:\r", 0, "FE00=1234\n", 0, ""},
    {"RelocatableAddsBias", "A0100C0002B00038FFFFF\r:\r", 0x1000, "1100=1002\n1102=0003\n", 0, ""},
    {"AbsoluteIgnoresBias", "9FE00B00018FFFFF\r:\r", 0x1000, "FE00=0001\n", 0, ""},
    {"TwoAddressTagsInARow", "9FE009FF00B00018FFFFF\r:\r", 0, "FF00=0001\n", 0, ""},
    {"EntryAndDefinitionSkipped", "9FE00B11116FE00START 1FE008FFFFF\r:\r", 0, "FE00=1111\n", 0, ""},
    {"BlankLinesAndLineFeedsIgnored", "\r\n9FE00B00018FFFFF\r\n\r\n:", 0, "FE00=0001\n", 0, ""},
    {"BadTagIsError0", "9FE00X", 0, "", 1, "X\r\nERROR 0"},
    {"LowerCaseTagIsError0", "9FE00b", 0, "", 1, "ERROR 0"},
    {"NonHexFieldIsError0", "9FEZ0", 0, "", 1, "ERROR 0"},
    {"LineEndInsideFieldIsError0", "9FE\r", 0, "", 1, "ERROR 0"},
    {"WordsBeforeABadChecksumAreKept", "9FE00B12347FFFF", 0, "FE00=1234\n", 1, "ERROR 1"},
};

class ObjectLoaderTest : public ::testing::TestWithParam<LoaderCase> {};

TEST_P(ObjectLoaderTest, LoadsOrReportsTheError) {
    const LoaderCase &c = GetParam();
    BoardConfig config = monitorConfig(MonitorKind::Evmbug, StartMode::Loader);
    config.monitor.loadBias = c.bias;
    SessionResult result = runSession(config, c.input);
    EXPECT_EQ(result.image, c.image);
    EXPECT_EQ(result.errors, c.errors);
    EXPECT_NE(result.output.find(c.shown), std::string::npos) << result.output;
}

INSTANTIATE_TEST_SUITE_P(Records, ObjectLoaderTest, ::testing::ValuesIn(kCases),
                         [](const auto &param) { return std::string(param.param.name); });

TEST(RecordChecksum, MatchesKnownRecords) {
    const std::pair<std::string, std::uint16_t> known[] = {
        {"7", 0xFFC9}, // the empty record 7FFC9F
        {"00010PROGNAME9FE00BC820B0000BFE047", 0xF809},
        {"9FF00B5555BAAAA7", 0xFC48},
    };
    for (const auto &[text, checksum] : known) {
        EXPECT_EQ(recordChecksum(text), checksum) << text;
    }
    EXPECT_EQ(closeRecord("9FF00B5555BAAAA"), "9FF00B5555BAAAA7FC48F");
}

TEST(ObjectLoaderAfterError, MonitorTakesCommandsAgain) {
    SessionResult result = runSession(monitorConfig(MonitorKind::Tibug, StartMode::Loader), "Q\rMFE00\r7\r");
    EXPECT_EQ(result.image, "FE00=0007\n");
    EXPECT_EQ(result.errors, 1u);
}

} // namespace
} // namespace quorvane::boardsim::test
