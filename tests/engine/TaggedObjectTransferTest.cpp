// The tagged object transfer: the memory command for each address, data words, the end record and bad files.
#include "TransferRig.h"

#include <gtest/gtest.h>

namespace quorvane::engine::test {
namespace {

using Keys = std::vector<std::string>;

constexpr std::string_view kExample = "00010PROGNAME9FE00BC820B0000BFE047F1A2F       0001\r\n:       \r\n";

std::vector<std::string> lineWaited(std::initializer_list<std::string_view> keys) {
    std::vector<std::string> entries;
    for (const std::string_view k : keys) {
        entries.push_back(key(k));
        entries.push_back(delay(100));
    }
    return entries;
}

std::vector<std::string> dataWord(std::string_view digits) {
    std::vector<std::string> entries;
    for (const char digit : digits) {
        entries.push_back(key(std::string(1, digit)));
        entries.push_back(passes(7000));
    }
    entries.push_back(key("<SP>"));
    entries.push_back(delay(100));
    return entries;
}

struct ExampleCase {
    bool tibug;
    bool ignoreTags;
};

class WorkedExample : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(WorkedExample, TypesTheMemoryCommandAndTheWords) {
    TransferRig rig;
    rig.host.type = FileType::TaggedObject;
    rig.host.tibug = GetParam().tibug;
    rig.host.ignoreTags = GetParam().ignoreTags;
    rig.writeFile(kExample);
    EXPECT_EQ(rig.send(), SendResult::Completed);
    const std::string_view command = GetParam().tibug ? "M" : "IM<SP>";
    const std::vector<std::string> memoryCommand =
        GetParam().ignoreTags ? std::vector<std::string>{} : lineWaited({"<CR>", command, "F", "E", "0", "0", "<CR>"});
    EXPECT_EQ(rig.afterInitialWait(), concat({memoryCommand,
                                              dataWord("C820"),
                                              dataWord("0000"),
                                              dataWord("FE04"),
                                              {key("<CR>"), "restrict none", "finish", "STOP! hidden"}}));
    EXPECT_TRUE(rig.dialogs.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(BothMonitorsBothSettings, WorkedExample,
                         ::testing::Values(ExampleCase{true, false}, ExampleCase{false, false}, ExampleCase{true, true},
                                           ExampleCase{false, true}));

TEST(TaggedObjectTransfer, RecordShapes) {
    const struct {
        const char *name;
        std::string_view bytes;
        bool ignoreTags;
        Keys keys;
    } cases[] = {
        {"two load addresses in one record",
         "9FE009FE107F\r\n:\r\n",
         false,
         {"<CR>", "M", "F", "E", "0", "0", "<CR>", "<CR>", "M", "F", "E", "1", "0", "<CR>", "<CR>"}},
        {"address as the last field", "9A0007F\r\n:\r\n", false, {"<CR>", "M", "A", "0", "0", "0", "<CR>", "<CR>"}},
        {"no words, tags ignored", "00010PROGNAME9FE007F\r\n:\r\n", true, {"<CR>"}},
        {"header in a later record",
         "BAAAA7F\r\n00010PROGNAMEBBBBB7F\r\n:\r\n",
         true,
         {"A", "A", "A", "A", "<SP>", "B", "B", "B", "B", "<SP>", "<CR>"}},
        {"lines after the end record are not read", ":\r\nnonsense\r\n", false, {"<CR>"}},
        {"line feeds only", "B12347F\n:\n", false, {"1", "2", "3", "4", "<SP>", "<CR>"}},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "B12347F\r\n:\r\n",
         false,
         {"1", "2", "3", "4", "<SP>", "<CR>"}},
        {"lower-case digits", "Babcd7F\r\n:\r\n", false, {"a", "b", "c", "d", "<SP>", "<CR>"}},
    };
    for (const auto &c : cases) {
        TransferRig rig;
        rig.host.type = FileType::TaggedObject;
        rig.host.tibug = true;
        rig.host.ignoreTags = c.ignoreTags;
        rig.writeFile(c.bytes);
        EXPECT_EQ(rig.send(), SendResult::Completed) << c.name;
        EXPECT_EQ(rig.typed(), c.keys) << c.name;
    }
}

TEST(TaggedObjectTransfer, MalformedFilesEndWithAMessageAndNothingOfTheBadField) {
    const struct {
        const char *name;
        std::string_view bytes;
        Keys keys;
        std::string_view messagePart;
    } cases[] = {
        {"no end record", "B12347F\r\n", {"1", "2", "3", "4", "<SP>"}, "without an end-of-module record"},
        {"empty file", "", {}, "without an end-of-module record"},
        {"data word cut short", "B12347F\r\nB12", {"1", "2", "3", "4", "<SP>"}, "Line 2 "},
        {"tilde in a data word", "B1~347F\r\n:\r\n", {}, "Line 1 "},
        {"plus in an address", "9+0007F\r\n:\r\n", {}, "\"9\" field"},
    };
    for (const auto &c : cases) {
        TransferRig rig;
        rig.host.type = FileType::TaggedObject;
        rig.writeFile(c.bytes);
        EXPECT_EQ(rig.send(), SendResult::MalformedFile) << c.name;
        EXPECT_EQ(rig.typed(), c.keys) << c.name;
        ASSERT_EQ(rig.dialogs.messages().size(), 1u) << c.name;
        const auto &message = rig.dialogs.messages().front();
        EXPECT_EQ(message.title, "Quorvane");
        EXPECT_EQ(message.icon, platform::MessageIcon::Error);
        EXPECT_NE(message.text.find(c.messagePart), std::string::npos) << message.text;
        EXPECT_EQ(rig.transcript.entries().back(), "STOP! hidden") << c.name;
    }
}

TEST(TaggedObjectTransfer, AnUnrecognisedTagEndsTheProgramAfterTheCommonEnd) {
    for (const std::string_view bytes : {"b12347F\r\n:\r\n", "B1234\r\n:\r\n", "\r\n:\r\n", "X\r\n:\r\n"}) {
        TransferRig rig;
        rig.host.type = FileType::TaggedObject;
        rig.writeFile(bytes);
        EXPECT_EQ(rig.send(), SendResult::MalformedFile);
        const auto &entries = rig.transcript.entries();
        ASSERT_GE(entries.size(), 4u);
        EXPECT_EQ(std::vector<std::string>(entries.end() - 4, entries.end()),
                  (std::vector<std::string>{"finish", "message error: Unrecognised tag in the object code file.",
                                            "STOP! hidden", "end program"}))
            << testing::PrintToString(bytes);
    }
}

TEST(TaggedObjectTransfer, MonitorAndAddressTagChoicesAreReadAtEachAddress) {
    TransferRig rig;
    rig.host.type = FileType::TaggedObject;
    rig.host.tibug = true;
    rig.writeFile("9000A7F\r\n9000B7F\r\n9000C7F\r\n:\r\n");
    // The first command's seven line waits end at 1700 ms.
    rig.pump.at(std::chrono::milliseconds(1650), [&] { rig.host.tibug = false; });
    rig.pump.at(std::chrono::milliseconds(2350), [&] { rig.host.ignoreTags = true; });
    rig.send();
    EXPECT_EQ(rig.typed(),
              (Keys{"<CR>", "M", "0", "0", "0", "A", "<CR>", "<CR>", "IM<SP>", "0", "0", "0", "B", "<CR>", "<CR>"}));
}

} // namespace
} // namespace quorvane::engine::test
