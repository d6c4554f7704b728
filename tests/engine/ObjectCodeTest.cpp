// Object code read as records (line by line or in fixed 80-character pieces) and the fields of one record.
#include "ObjectCodeText.h"

#include "engine/ObjectFields.h"
#include "engine/ObjectRecordReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace quorvane::engine {
namespace {

using test::closedRecord;

struct ReadRecord {
    std::string text;
    std::string place;
    bool operator==(const ReadRecord &) const = default;
};

void PrintTo(const ReadRecord &record, std::ostream *out) { *out << record.place << ": " << record.text; }

class ObjectRecordReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::mt19937_64 names{std::random_device{}()};
        m_path = std::filesystem::temp_directory_path() / ("quorvane-records-" + std::to_string(names()));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    std::vector<ReadRecord> readAll(const std::string &bytes) {
        std::ofstream(m_path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        LineReader file;
        std::string reason;
        EXPECT_TRUE(file.open(m_path, reason)) << reason;
        ObjectRecordReader reader(file);
        std::vector<ReadRecord> records;
        std::u32string record;
        while (!reader.atEnd()) {
            if (!reader.next(record)) {
                ADD_FAILURE() << "no record although the reader is not at its end";
                break;
            }
            records.push_back({std::string(record.begin(), record.end()), describePlace(reader.place())});
        }
        EXPECT_FALSE(reader.next(record));
        return records;
    }
    std::filesystem::path m_path;
};

TEST_F(ObjectRecordReaderTest, LinesUpToEightyCharactersAreRecordsLongerOnesAreCut) {
    const std::string a80(80, 'a');
    const std::string b80(80, 'b');
    const struct {
        const char *name;
        std::string bytes;
        std::vector<ReadRecord> records;
    } cases[] = {
        {"empty file", "", {}},
        {"CR LF lines", "AB\r\nCD\r\n", {{"AB", "Line 1"}, {"CD", "Line 2"}}},
        {"CR and LF lines, an empty line", "A\r\rB\n", {{"A", "Line 1"}, {"", "Line 2"}, {"B", "Line 3"}}},
        {"exactly eighty characters", a80 + "\r\nB", {{a80, "Line 1"}, {"B", "Line 2"}}},
        {"no line ends",
         a80 + b80 + "cc",
         {{a80, "The record at characters 1 to 80 of line 1"},
          {b80, "The record at characters 81 to 160 of line 1"},
          {"cc", "The record at characters 161 to 162 of line 1"}}},
        {"no line ends, whole records and a final Ctrl-Z",
         a80 + b80 + "\x1A",
         {{a80, "The record at characters 1 to 80 of line 1"}, {b80, "The record at characters 81 to 160 of line 1"}}},
        {"one line runs past eighty",
         "X\n" + a80 + "b\nY",
         {{"X", "Line 1"},
          {a80, "The record at characters 1 to 80 of line 2"},
          {"b", "The record at characters 81 to 81 of line 2"},
          {"Y", "Line 3"}}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(readAll(c.bytes), c.records) << c.name;
    }
}

// Fields as tag and digits ("9FE00", "5"; a checksum as its tag alone), then the problem and its column.
std::string summary(const ObjectRecord &record) {
    std::string text;
    for (const ObjectField &field : record.fields) {
        text += (text.empty() ? "" : " ") + std::string(1, static_cast<char>(field.tag));
        if (field.kind != FieldKind::Checksum) {
            text += std::string(field.digits.begin(), field.digits.end());
        }
    }
    const char *problems[] = {"", "unrecognised", "no record end", "bad digits", "bad checksum"};
    if (record.problem != RecordProblem::None) {
        text +=
            std::string(" !") + problems[static_cast<int>(record.problem)] + "@" + std::to_string(record.problemColumn);
    }
    return text;
}

TEST(ObjectFields, TagRules) {
    const struct {
        const char *name;
        std::string record;
        std::string fields;
    } cases[] = {
        {"worked example", "00010PROGNAME9FE00BC820B0000BFE047F809F       0001", "0 9FE00 BC820 B0000 BFE04 7"},
        {"checksum-only record", "7FFC9F", "7"},
        {"lower-case digits come out in upper case", closedRecord("9fe00Babcd"), "9FE00 BABCD 7"},
        {"entry addresses", closedRecord("1FE002a000"), "1FE00 2A000 7"},
        {"references and definitions are skipped with their symbols",
         closedRecord("3000AEXTREF4001CABSREF50100START 6FE00MAIN  9FE00"), "3 4 5 6 9FE00 7"},
        {"checksum to ignore, then the end of the record", "B12348XXXXF  trailing", "B1234 8 F"},
        {"relocatable fields", closedRecord("A0100C0104"), "A0100 C0104 7"},
        {"end of module anywhere", "B1234:       anything", "B1234 :"},
        {"nothing after the checksum is read", "7FFC9FXYZ", "7"},
        {"wrong checksum", "7FFC8F", " !bad checksum@1"},
        {"checksum not hexadecimal", "B12347F", "B1234 !bad digits@6"},
        {"data word with a non-digit", "B12G47FFFFF", " !bad digits@1"},
        {"address with a tilde", "9~E007FFFFF", " !bad digits@1"},
        {"data word cut short by the record's end", "9FE00B12", "9FE00 !bad digits@6"},
        {"lower-case tag", "b12347FFFFF", " !unrecognised@1"},
        {"blank at a field start", "B1234 7FFFF", "B1234 !unrecognised@6"},
        {"empty record", "", " !no record end@1"},
        {"no checksum field", "B1234", "B1234 !no record end@6"},
        {"header cut short", "00010PROG", "0 !no record end@14"},
    };
    for (const auto &c : cases) {
        const std::u32string record(c.record.begin(), c.record.end());
        EXPECT_EQ(summary(parseObjectRecord(record)), c.fields) << c.name;
    }
}

TEST(ObjectFields, AWrongChecksumNamesTheOneTheRecordNeeds) {
    const std::u32string record = U"7FFC8F";
    const ObjectRecord parsed = parseObjectRecord(record);
    EXPECT_EQ(parsed.problem, RecordProblem::BadChecksum);
    EXPECT_EQ(parsed.checksum, 0xFFC8);
    EXPECT_EQ(parsed.expectedChecksum, 0xFFC9);
}

} // namespace
} // namespace quorvane::engine
