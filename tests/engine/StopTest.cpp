// STOP! clicked during a wait at each check point of each transfer: what is still typed and what is not.
#include "ObjectCodeText.h"
#include "TransferRig.h"

#include <gtest/gtest.h>

namespace quorvane::engine::test {
namespace {

using namespace std::chrono_literals;
using Keys = std::vector<std::string>;

struct StopCase {
    const char *name;
    FileType type;
    std::string bytes;
    std::chrono::microseconds stopAt; // the initial wait ends at 1000 ms
    Keys keys;
};

class StopDuringAWait : public ::testing::TestWithParam<StopCase> {};

TEST_P(StopDuringAWait, FinishesTheUnitUnderWayThenEnds) {
    const StopCase &c = GetParam();
    TransferRig rig;
    rig.host.type = c.type;
    rig.host.tibug = true;
    rig.writeFile(c.bytes);
    rig.stopAt(c.stopAt);
    EXPECT_EQ(rig.send(), SendResult::Stopped);
    EXPECT_EQ(rig.typed(), c.keys);
    EXPECT_TRUE(rig.dialogs.messages().empty());
    const auto &entries = rig.transcript.entries();
    EXPECT_EQ(Keys(entries.end() - 2, entries.end()), (Keys{"finish", "STOP! hidden"}));
}

// Loader: 2 ms per character, 50 ms per line. Text: 10 ms per character, 100 ms per line. Hex dump: 14 ms per
// digit, 100 ms after the space. Tagged object: 100 ms after each string of a memory command.
INSTANTIATE_TEST_SUITE_P(
    EachTransfer, StopDuringAWait,
    ::testing::Values(
        StopCase{"loader_during_the_initial_wait", FileType::Loader, "AB\r\nCD", 500ms, {}},
        StopCase{"loader_during_a_character_wait", FileType::Loader, "AB\r\nCD", 1001ms, {"A", "B", "<CR>"}},
        StopCase{"loader_during_the_line_wait", FileType::Loader, "AB\r\nCD", 1030ms, {"A", "B", "<CR>"}},
        StopCase{"loader_in_the_second_line",
                 FileType::Loader,
                 "AB\r\nCD\r\nEF",
                 1060ms,
                 {"A", "B", "<CR>", "C", "D", "<CR>"}},
        StopCase{"text_during_the_initial_wait", FileType::Text, "AB\r\nCD", 500ms, {}},
        StopCase{"text_during_a_character_wait", FileType::Text, "AB\r\nCD", 1005ms, {"A", "B", "<CR>"}},
        StopCase{"text_during_the_line_wait", FileType::Text, "AB\r\nCD", 1050ms, {"A", "B", "<CR>"}},
        StopCase{"hex_during_the_initial_wait", FileType::HexDump, "\x12\x34\x56\x78", 500ms, {}},
        StopCase{
            "hex_during_a_digit_wait", FileType::HexDump, "\x12\x34\x56\x78", 1010ms, {"1", "2", "3", "4", "<SP>"}},
        StopCase{
            "hex_during_the_word_wait", FileType::HexDump, "\x12\x34\x56\x78", 1100ms, {"1", "2", "3", "4", "<SP>"}},
        StopCase{"hex_in_the_second_word",
                 FileType::HexDump,
                 "\x12\x34\x56\x78\x9A\xBC",
                 1200ms,
                 {"1", "2", "3", "4", "<SP>", "5", "6", "7", "8", "<SP>"}},
        StopCase{"object_during_the_initial_wait",
                 FileType::TaggedObject,
                 closedRecord("9FE00B1234") + "\r\n:\r\n",
                 500ms,
                 {}},
        StopCase{"object_during_the_memory_command",
                 FileType::TaggedObject,
                 closedRecord("9FE00B1234") + "\r\n:\r\n",
                 1150ms,
                 {"<CR>", "M", "F", "E", "0", "0", "<CR>"}},
        StopCase{"object_during_a_data_word",
                 FileType::TaggedObject,
                 closedRecord("B1234B5678") + "\r\n:\r\n",
                 1020ms,
                 {"1", "2", "3", "4", "<SP>"}},
        StopCase{"object_between_records",
                 FileType::TaggedObject,
                 closedRecord("B1234") + "\r\n" + closedRecord("B5678") + "\r\n:\r\n",
                 1100ms,
                 {"1", "2", "3", "4", "<SP>"}}),
    [](const ::testing::TestParamInfo<StopCase> &param) { return std::string(param.param.name); });

// With both factors 0 no wait lies between the keystrokes of a line, yet a request to end must be handled
// within 50 ms; STOP! keeps its meaning and lets the line finish.
constexpr std::size_t kLineLength = 20000;
constexpr auto kTimePerString = 20us;
constexpr auto kRequestAt = 100ms; // after the initial wait

struct RequestCase {
    const char *name;
    bool endProgram; // Quit, a closed window, a second Ctrl+C or SIGTERM; else STOP! or a first Ctrl+C
    SendResult result;
    std::size_t fewestKeys, mostKeys; // typed in all
};

class RequestWithFactorsZero : public ::testing::TestWithParam<RequestCase> {};

TEST_P(RequestWithFactorsZero, EndingTakesEffectWithin50Milliseconds) {
    const RequestCase &c = GetParam();
    TransferRig rig;
    rig.host.charFactor = "0";
    rig.host.lineFactor = "0";
    rig.sink.timePerString = kTimePerString;
    rig.writeFile(std::string(kLineLength, 'A') + "\r\nB");
    rig.pump.at(1000ms + kRequestAt, [&] { c.endProgram ? rig.operation.abandon() : rig.host.clickStop(); });
    EXPECT_EQ(rig.send(), c.result);
    EXPECT_GE(rig.typed().size(), c.fewestKeys);
    EXPECT_LE(rig.typed().size(), c.mostKeys);
}

INSTANTIATE_TEST_SUITE_P(
    FactorsZero, RequestWithFactorsZero,
    ::testing::Values(RequestCase{"end_program", true, SendResult::Abandoned, kRequestAt / kTimePerString,
                                  (kRequestAt + 50ms) / kTimePerString},
                      RequestCase{"stop_finishes_the_line", false, SendResult::Stopped, kLineLength + 1,
                                  kLineLength + 1}),
    [](const ::testing::TestParamInfo<RequestCase> &param) { return std::string(param.param.name); });

} // namespace
} // namespace quorvane::engine::test
