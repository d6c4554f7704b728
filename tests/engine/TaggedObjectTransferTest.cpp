// The tagged object transfer: the memory command for each address, data words, the end record, the tags that
// type nothing, and the files refused before anything is typed.
#include "ObjectCodeText.h"
#include "TransferRig.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quorvane::engine::test {
namespace {

using Keys = std::vector<std::string>;

constexpr std::string_view kExample = "00010PROGNAME9FE00BC820B0000BFE047F809F       0001\r\n:       \r\n";

// Closed records, one per line.
std::string records(std::initializer_list<std::string_view> fields) {
    std::string text;
    for (const std::string_view f : fields) {
        text += closedRecord(f) + "\r\n";
    }
    return text;
}

// Closed records and the end-of-module record.
std::string module(std::initializer_list<std::string_view> fields) { return records(fields) + ":\r\n"; }

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
    const std::string padded = (closedRecord("9FE00B1111") + std::string(80, ' ')).substr(0, 76) + "0001";
    const struct {
        const char *name;
        std::string bytes;
        bool ignoreTags;
        Keys keys;
    } cases[] = {
        {"two load addresses in one record",
         module({"9FE009FE10"}),
         false,
         {"<CR>", "M", "F", "E", "0", "0", "<CR>", "<CR>", "M", "F", "E", "1", "0", "<CR>", "<CR>"}},
        {"address as the last field", module({"9A000"}), false, {"<CR>", "M", "A", "0", "0", "0", "<CR>", "<CR>"}},
        {"no words, tags ignored", module({"00010PROGNAME9FE00"}), true, {"<CR>"}},
        {"header in a later record",
         module({"BAAAA", "00010PROGNAMEBBBBB"}),
         true,
         {"A", "A", "A", "A", "<SP>", "B", "B", "B", "B", "<SP>", "<CR>"}},
        {"lines after the end record are not read", ":\r\nnonsense\r\n", false, {"<CR>"}},
        {"line feeds only", closedRecord("B1234") + "\n:\n", false, {"1", "2", "3", "4", "<SP>", "<CR>"}},
        {"byte-order mark", "\xEF\xBB\xBF" + module({"B1234"}), false, {"1", "2", "3", "4", "<SP>", "<CR>"}},
        {"lower-case digits typed in upper case",
         module({"9fe0aBabcd"}),
         false,
         {"<CR>", "M", "F", "E", "0", "A", "<CR>", "A", "B", "C", "D", "<SP>", "<CR>"}},
        {"80-character records without line ends",
         padded + padded + ":",
         true,
         {"1", "1", "1", "1", "<SP>", "1", "1", "1", "1", "<SP>", "<CR>"}},
        {"entry, references, definitions and a checksum to ignore type nothing",
         records({"1FE00", "3000AEXTREF4001CABSREF50100START 6FE00MAIN  B1234"}) + "B56788FFFFF\r\n:\r\n",
         true,
         {"1", "2", "3", "4", "<SP>", "5", "6", "7", "8", "<SP>", "<CR>"}},
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

TEST(TaggedObjectTransfer, TheEntryAddressIsNamedAtTheEnd) {
    const struct {
        const char *name;
        std::string bytes;
        std::string notice;
    } cases[] = {
        {"absolute entry", module({"9FE00B1234", "1fe00"}), "The program's entry is at FE00."},
        {"relocatable entry", module({"9FE00B1234", "20010"}),
         "The program's entry is at 0010 from the start of its relocatable part."},
    };
    for (const auto &c : cases) {
        TransferRig rig;
        rig.host.type = FileType::TaggedObject;
        rig.writeFile(c.bytes);
        EXPECT_EQ(rig.send(), SendResult::Completed) << c.name;
        const auto &entries = rig.transcript.entries();
        ASSERT_GE(entries.size(), 3u);
        EXPECT_EQ(std::vector<std::string>(entries.end() - 3, entries.end()),
                  (std::vector<std::string>{"finish", "message plain: " + c.notice, "STOP! hidden"}))
            << c.name;
    }
}

// Everything is checked before the terminal is activated: a refused file types nothing and raises nothing.
TEST(TaggedObjectTransfer, RefusedFilesTypeNothingAndTheMessageSaysWhereAndWhy) {
    const struct {
        const char *name;
        std::string bytes;
        std::vector<std::string_view> messageParts;
    } cases[] = {
        {"no end record", closedRecord("B1234") + "\r\n", {"without an end-of-module record", "Nothing was typed"}},
        {"empty file", "", {"without an end-of-module record"}},
        {"data word cut short", closedRecord("B1234") + "\r\nB12", {"Line 2 ", "character 1,", "\"B\" field"}},
        {"tilde in a data word", module({"B1~34"}), {"Line 1 ", "four hexadecimal digits"}},
        {"plus in an address", module({"9+000"}), {"\"9\" field"}},
        {"wrong checksum in a later record",
         records({"B1234"}) + "B56787FFFFF\r\n:\r\n",
         {"Line 2 ", "checksum FFFF", "need", "Nothing was typed"}},
        {"checksum left out", "B12347F\r\n:\r\n", {"Line 1 ", "\"7\" field"}},
        {"relocatable address", module({"B1234", "A0100B0200"}), {"Line 2 ", "relocatable load address", "loader"}},
        {"relocatable data word", module({"9FE00C0104"}), {"relocatable data word", "--type loader"}},
        {"wrong checksum in an 80-character record",
         std::string(80, ' ').replace(0, 11, "B12347FFFFF") + ":",
         {"characters 1 to 80 of line 1"}},
        {"compressed object code", "\x01\x02\x03\x80\xFF:\r\n", {"compressed (binary) 990 object code"}},
    };
    for (const auto &c : cases) {
        TransferRig rig;
        rig.host.type = FileType::TaggedObject;
        rig.writeFile(c.bytes);
        EXPECT_EQ(rig.send(), SendResult::MalformedFile) << c.name;
        EXPECT_EQ(rig.typed(), Keys{}) << c.name;
        const auto &entries = rig.transcript.entries();
        EXPECT_TRUE(std::none_of(entries.begin(), entries.end(), [](const std::string &e) {
            return e.starts_with("activate");
        })) << c.name;
        ASSERT_EQ(rig.dialogs.messages().size(), 1u) << c.name;
        const auto &message = rig.dialogs.messages().front();
        EXPECT_EQ(message.title, "Quorvane");
        EXPECT_EQ(message.icon, platform::MessageIcon::Error);
        for (const std::string_view part : c.messageParts) {
            EXPECT_NE(message.text.find(part), std::string::npos) << c.name << ": " << message.text;
        }
        EXPECT_EQ(rig.transcript.entries().back(), "STOP! hidden") << c.name;
    }
}

TEST(TaggedObjectTransfer, AnUnrecognisedTagEndsTheProgramWithNothingTyped) {
    const struct {
        std::string bytes;
        std::string detail;
    } cases[] = {
        {records({"B1234"}) + "b12347FFFFF\r\n:\r\n",
         "Line 2 of the object code file, at character 1, holds \"b\", which is not a tag."},
        {"B1234\r\n:\r\n", "Line 1 ends after character 5 without a \"7\" checksum field."},
        {records({"B1234"}) + "\r\n:\r\n", "Line 2 is empty where a record should be."},
        {"X\r\n:\r\n", "Line 1 of the object code file, at character 1, holds \"X\", which is not a tag."},
    };
    for (const auto &c : cases) {
        TransferRig rig;
        rig.host.type = FileType::TaggedObject;
        rig.writeFile(c.bytes);
        EXPECT_EQ(rig.send(), SendResult::MalformedFile);
        EXPECT_EQ(rig.typed(), Keys{}) << c.bytes;
        EXPECT_EQ(rig.transcript.entries(),
                  (std::vector<std::string>{"pass", "pass", "STOP! shown", "restrict none", "finish",
                                            "message error: Unrecognised tag in the object code file.\r\n\r\n" +
                                                c.detail + " Nothing was typed.",
                                            "STOP! hidden", "end program"}))
            << c.bytes;
    }
}

// The reader holds the first 64 KB by the time the file changes, so the change lies beyond them.
TEST(TaggedObjectTransfer, AFileThatChangesAfterItsCheckEndsAtTheChange) {
    std::string start = records({"B1111"});
    while (start.size() < 70000) {
        start += records({"00010PROGNAME"});
    }
    const std::size_t changedLine = static_cast<std::size_t>(std::count(start.begin(), start.end(), '\n')) + 1;
    TransferRig rig;
    rig.host.type = FileType::TaggedObject;
    rig.host.ignoreTags = true;
    rig.writeFile(start + module({"B2222"}));
    rig.pump.at(std::chrono::milliseconds(500), [&] { rig.writeFile(start + "B2222\r\n:\r\n"); });
    EXPECT_EQ(rig.send(), SendResult::MalformedFile);
    EXPECT_EQ(rig.typed(), (Keys{"1", "1", "1", "1", "<SP>"}));
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    const std::string &text = rig.dialogs.messages().front().text;
    EXPECT_NE(text.find("Line " + std::to_string(changedLine) + " ends after character 5"), std::string::npos) << text;
    EXPECT_NE(text.find("what was typed before stays typed"), std::string::npos) << text;
}

TEST(TaggedObjectTransfer, MonitorAndAddressTagChoicesAreReadAtEachAddress) {
    TransferRig rig;
    rig.host.type = FileType::TaggedObject;
    rig.host.tibug = true;
    rig.writeFile(module({"9000A", "9000B", "9000C"}));
    // The first command's seven line waits end at 1700 ms.
    rig.pump.at(std::chrono::milliseconds(1650), [&] { rig.host.tibug = false; });
    rig.pump.at(std::chrono::milliseconds(2350), [&] { rig.host.ignoreTags = true; });
    rig.send();
    EXPECT_EQ(rig.typed(),
              (Keys{"<CR>", "M", "0", "0", "0", "A", "<CR>", "<CR>", "IM<SP>", "0", "0", "0", "B", "<CR>", "<CR>"}));
}

} // namespace
} // namespace quorvane::engine::test
