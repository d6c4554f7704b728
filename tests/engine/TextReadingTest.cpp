// Character sets, line ends, the marks that are not text, and the key-sequence string of one character.
#include "engine/CharacterKeys.h"
#include "engine/InputFile.h"
#include "engine/LineReader.h"
#include "engine/TextDecoding.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace quorvane::engine {
namespace {

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t *>(text.data()), text.size()};
}

TEST(Utf8Validator, AcceptsWellFormedTextOnlyAndFindsTheFirstInvalidByte) {
    const struct {
        std::string_view bytes;
        std::optional<std::uint64_t> firstInvalid; // nothing: valid
    } cases[] = {
        {"plain ASCII", {}},
        {"\xC3\xA9", {}},
        {"\xE2\x82\xAC", {}},
        {"\xF0\x9F\x98\x80", {}},
        {"\xC0\x80", 0},
        {"\xC1\xBF", 0},
        {"\xE0\x80\x80", 0},
        {"\xED\xA0\x80", 0},
        {"\xF4\x90\x80\x80", 0},
        {"\xF5\x80\x80\x80", 0},
        {"\xC3", 0},
        {"\x80", 0},
        {"\xE9t\xE9", 0},
        {"\xEF\xBB\xBFok", {}},
        {"0123456789abcdef\xC3\xA9 then \xFF", 24},
        {"01234567\xE2\x82", 8},
        {"0123456789\xE2\x82x", 10},
    };
    for (const auto &c : cases) {
        Utf8Validator whole;
        whole.feed(bytesOf(c.bytes));
        EXPECT_EQ(whole.valid(), !c.firstInvalid) << testing::PrintToString(c.bytes);
        EXPECT_EQ(whole.firstInvalidOffset(), c.firstInvalid) << testing::PrintToString(c.bytes);
        Utf8Validator split; // one byte at a time, as piece boundaries may cut a sequence
        for (std::size_t i = 0; i < c.bytes.size(); ++i) {
            split.feed(bytesOf(c.bytes.substr(i, 1)));
        }
        EXPECT_EQ(split.valid(), !c.firstInvalid) << testing::PrintToString(c.bytes);
        EXPECT_EQ(split.firstInvalidOffset(), c.firstInvalid) << testing::PrintToString(c.bytes);
    }
}

TEST(TextDecoding, DecodesUtf8AndFallsBackToWindows1252PerByte) {
    const struct {
        std::string_view bytes;
        char32_t ch;
        std::size_t length;
    } cases[] = {
        {"A", U'A', 1},
        {"\xC3\xA9", U'\u00E9', 2},
        {"\xE2\x82\xAC", U'\u20AC', 3},
        {"\xF0\x9F\x98\x80", U'\U0001F600', 4},
        {"\x80", U'\u20AC', 1},
        {"\xC3(", U'\u00C3', 1},
        {"\xE2\x82", U'\u00E2', 1},
    };
    for (const auto &c : cases) {
        const DecodedCharacter decoded = decodeUtf8(bytesOf(c.bytes));
        EXPECT_EQ(decoded.ch, c.ch) << testing::PrintToString(c.bytes);
        EXPECT_EQ(decoded.length, c.length) << testing::PrintToString(c.bytes);
    }
    EXPECT_EQ(windows1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(windows1252ToUnicode(0x9F), U'\u0178');
    EXPECT_EQ(windows1252ToUnicode(0x81), U'\u0081');
    EXPECT_EQ(windows1252ToUnicode(0xE9), U'\u00E9');
}

TEST(CharacterKeys, EveryCharacterIsTypedAsItself) {
    const struct {
        char32_t ch;
        std::u16string keys;
    } cases[] = {
        {U'a', u"a"},        {U'+', u"{+}"},    {U'^', u"{^}"},         {U'%', u"{%}"},
        {U'~', u"{~}"},      {U'(', u"{(}"},    {U')', u"{)}"},         {U'{', u"{{}"},
        {U'}', u"{}}"},      {U'[', u"["},      {U' ', u" "},           {U'\t', u"{TAB}"},
        {U'\f', u"^l"},      {U'\x01', u"^a"},  {U'\x1A', u"^z"},       {U'\x08', u"^h"},
        {U'\x1B', u"{ESC}"}, {U'\x1C', u"^\\"}, {U'\x1D', u"^]"},       {U'\x1E', u"^{^}"},
        {U'\x1F', u"^_"},    {U'\0', u"^@"},    {U'\u00E9', u"\u00E9"}, {U'\U0001F600', u"\U0001F600"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(keySequenceFor(c.ch), c.keys) << static_cast<unsigned>(c.ch);
    }
}

TEST(InputFile, TheSeparatorIsAlwaysAdded) {
    const std::string sep(1, static_cast<char>(std::filesystem::path::preferred_separator));
    EXPECT_EQ(displayPath(transferPath("folder", "a.txt")), "folder" + sep + "a.txt");
    EXPECT_EQ(displayPath(transferPath(sep, "a.txt")), sep + sep + "a.txt");
    EXPECT_EQ(displayPath(transferPath("d\xC3\xA9j\xC3\xA0", "\xE2\x82\xAC.txt")),
              "d\xC3\xA9j\xC3\xA0" + sep + "\xE2\x82\xAC.txt");
}

class LineReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::mt19937_64 names{std::random_device{}()};
        m_path = std::filesystem::temp_directory_path() / ("quorvane-lines-" + std::to_string(names()));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    std::vector<std::u32string> readAll(std::string_view bytes) {
        std::ofstream(m_path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        LineReader reader;
        std::string reason;
        EXPECT_TRUE(reader.open(m_path, reason)) << reason;
        std::vector<std::u32string> lines;
        std::u32string line;
        while (reader.readLine(line)) {
            lines.push_back(line);
        }
        EXPECT_TRUE(reader.atEnd());
        EXPECT_EQ(reader.consumed(), bytes.size());
        return lines;
    }
    std::filesystem::path m_path;
};

TEST_F(LineReaderTest, SplitsAtEachOfTheThreeLineEnds) {
    const struct {
        std::string_view bytes;
        std::vector<std::u32string> lines;
    } cases[] = {
        {"", {}},
        {"A\r\nB", {U"A", U"B"}},
        {"A\rB\r", {U"A", U"B"}},
        {"A\nB\n", {U"A", U"B"}},
        {"A\n\rB", {U"A", U"", U"B"}},
        {"A\r\n\r\n", {U"A", U""}},
        {"\xEF\xBB\xBF"
         "A",
         {U"A"}},
        {"A\x1A", {U"A"}},
        {"A\x1A"
         "B",
         {U"A\x1A"
          U"B"}},
        {"\xC3\xA9\r\n\xE9", {U"\u00C3\u00A9", U"\u00E9"}},
        {"\xC3\xA9\r\n", {U"\u00E9"}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(readAll(c.bytes), c.lines) << testing::PrintToString(c.bytes);
    }
}

TEST_F(LineReaderTest, LinesAndCharactersThatStraddleReadPiecesComeOutWhole) {
    for (const std::size_t before : {65534u, 65535u, 65536u, 131069u}) {
        std::string bytes(before, 'x');
        bytes += "\r\n\xF0\x9F\x98\x80z";
        const auto lines = readAll(bytes);
        ASSERT_EQ(lines.size(), 2u) << before;
        EXPECT_EQ(lines[0].size(), before);
        EXPECT_EQ(lines[1], U"\U0001F600z") << before;
    }
}

// The check of the character set runs in pieces: a byte that is not UTF-8 far behind the first character
// outside ASCII still decides how that character is read, and the offset says where it is.
TEST_F(LineReaderTest, AnInvalidByteFarAheadDecidesTheCharacterSet) {
    const std::size_t gap = 3 * 1024 * 1024;
    std::string bytes = "ok \xC3\xA9" + std::string(gap, 'x') + "\xE9";
    const auto lines = readAll(bytes);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(0, 5), U"ok \u00C3\u00A9");
    EXPECT_EQ(lines[0].back(), U'\u00E9');
    LineReader reader;
    std::string reason;
    ASSERT_TRUE(reader.open(m_path, reason));
    EXPECT_FALSE(reader.utf8().has_value()) << "nothing is checked before it is needed";
    int steps = 1;
    for (; reader.checkStep(); ++steps) {
    }
    EXPECT_EQ(steps, 4);
    EXPECT_EQ(reader.utf8(), false);
    EXPECT_EQ(reader.firstInvalidOffset(), 5 + gap);
}

TEST_F(LineReaderTest, AGivenUpCheckEndsTheReading) {
    std::ofstream(m_path, std::ios::binary) << "AB" << std::string(3 * 1024 * 1024, 'x') << "\xC3\xA9";
    LineReader reader;
    std::string reason;
    ASSERT_TRUE(reader.open(m_path, reason));
    int pieces = 0;
    reader.setBetweenChecks([&pieces] { return ++pieces < 2; });
    std::u32string line;
    EXPECT_TRUE(reader.readLine(line));
    EXPECT_EQ(line.size(), 2u + 3 * 1024 * 1024) << "everything before the byte outside ASCII is read";
    EXPECT_EQ(pieces, 2);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_FALSE(reader.utf8().has_value());
}

TEST_F(LineReaderTest, AMissingFileGivesAReason) {
    LineReader reader;
    std::string reason;
    EXPECT_FALSE(reader.open(m_path, reason));
    EXPECT_NE(reason.find("does not exist"), std::string::npos) << reason;
    EXPECT_FALSE(reader.open(m_path.parent_path(), reason));
    EXPECT_NE(reason.find("folder"), std::string::npos) << reason;
}

} // namespace
} // namespace quorvane::engine
