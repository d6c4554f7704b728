// The text transfer: what is typed for each file, and the waits between keystrokes and lines.
#include "TransferRig.h"

#include <gtest/gtest.h>

namespace quorvane::engine::test {
namespace {

using Keys = std::vector<std::string>;

// Each character followed by the same wait.
std::vector<std::string> charactersWith(std::initializer_list<std::string_view> keys, const std::string &wait) {
    std::vector<std::string> entries;
    for (const std::string_view k : keys) {
        entries.push_back(key(k));
        entries.push_back(wait);
    }
    return entries;
}

const std::vector<std::string> kEnd = {"restrict none", "finish", "STOP! hidden"};

TEST(TextTransfer, TheWorkedExampleWithItsWaits) {
    TransferRig rig;
    rig.writeFile("PRINT (1+2)\r\nEND\r\n");
    EXPECT_EQ(rig.send(), SendResult::Completed);
    const std::string charWait = passes(5000);
    EXPECT_EQ(rig.afterInitialWait(),
              concat({charactersWith({"P", "R", "I", "N", "T", "<SP>", "{(}", "1", "{+}", "2", "{)}"}, charWait),
                      {key("<CR>"), delay(100)},
                      charactersWith({"E", "N", "D"}, charWait),
                      {delay(100)},
                      kEnd}));
}

TEST(TextTransfer, TypesEachFileAsItsCharacters) {
    const struct {
        const char *name;
        std::string_view bytes;
        Keys keys;
    } cases[] = {
        {"empty file", "", {}},
        {"plus", "a+b", {"a", "{+}", "b"}},
        {"percent", "50%", {"5", "0", "{%}"}},
        {"tilde and caret", "~^", {"{~}", "{^}"}},
        {"braces", "{x}", {"{{}", "x", "{}}"}},
        {"final empty line", "A\r\n\r\n", {"A", "<CR>"}},
        {"blank line inside", "A\r\n\r\nB", {"A", "<CR>", "<CR>", "B"}},
        {"line feeds only", "A\nB\n", {"A", "<CR>", "B"}},
        {"carriage returns only", "A\rB", {"A", "<CR>", "B"}},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "AB",
         {"A", "B"}},
        {"final Ctrl-Z", "A\r\n\x1A", {"A"}},
        {"Ctrl-Z inside",
         "A\x1A"
         "B",
         {"A", "^z", "B"}},
        {"form feed and tab", "\f\t", {"^l", "{TAB}"}},
        {"UTF-8", "\xC3\xA9", {"U+233"}},
        {"Windows-1252", "\xE9\x80", {"U+233", "U+8364"}},
        {"not quite UTF-8", "\xC3\xA9\xE9", {"U+195", "U+169", "U+233"}},
        {"beyond the BMP", "\xF0\x9F\x98\x80", {"U+55357U+56832"}},
    };
    for (const auto &c : cases) {
        TransferRig rig;
        rig.writeFile(c.bytes);
        EXPECT_EQ(rig.send(), SendResult::Completed) << c.name;
        EXPECT_EQ(rig.typed(), c.keys) << c.name;
    }
}

// What the end message says about the character set and the characters no key produces.
TEST(TextTransfer, NothingIsLeftOutOrReinterpretedWithoutAWord) {
    const std::string windows1252 = "The file was read as Windows-1252, not as UTF-8: its byte at offset ";
    const std::string leftOut = " could not be typed and w";
    const struct {
        const char *name;
        std::string_view bytes;
        Keys keys;
        SendResult result;
        std::vector<std::string> remarks; // each found in the one message, in order; none: no message
    } cases[] = {
        {"UTF-8 typed as it stands", "caf\xC3\xA9", {"c", "a", "f", "U+233"}, SendResult::Completed, {}},
        {"one bad byte in UTF-8",
         "caf\xC3\xA9\r\nna\xEFve",
         {"c", "a", "f", "U+195", "U+169", "<CR>", "n", "a", "U+239", "v", "e"},
         SendResult::Completed,
         {windows1252 + "9 (counting from 0)"}},
        {"a sequence left open at the end",
         "ab\xE2\x82",
         {"a", "b", "U+226", "U+8218"},
         SendResult::Completed,
         {windows1252 + "2 "}},
        {"C1 controls in UTF-8",
         "ab\xC2\x85"
         "c\r\nd\xC2\x80",
         {"a", "b", "c", "<CR>", "d"},
         SendResult::CharactersLeftOut,
         {"2 characters" + leftOut + "ere left out, the first at line 1, column 3"}},
        {"undefined Windows-1252 bytes",
         "x\r\n\x81y\x8D",
         {"x", "<CR>", "y"},
         SendResult::CharactersLeftOut,
         {windows1252 + "3 ", "2 characters" + leftOut + "ere left out, the first at line 2, column 1"}},
    };
    for (const auto &c : cases) {
        TransferRig rig;
        rig.writeFile(c.bytes);
        EXPECT_EQ(rig.send(), c.result) << c.name;
        EXPECT_EQ(rig.typed(), c.keys) << c.name;
        const auto &messages = rig.dialogs.messages();
        ASSERT_EQ(messages.size(), c.remarks.empty() ? 0u : 1u) << c.name;
        std::size_t at = 0;
        for (const std::string &remark : c.remarks) {
            at = messages.front().text.find(remark, at);
            EXPECT_NE(at, std::string::npos) << c.name << ": " << messages.front().text;
        }
        if (!messages.empty()) {
            EXPECT_EQ(messages.front().icon,
                      c.result == SendResult::Completed ? platform::MessageIcon::None : platform::MessageIcon::Warning);
        }
    }
}

TEST(TextTransfer, FactorsAreReadAtEachWait) {
    TransferRig rig;
    rig.writeFile("AB\r\nC");
    rig.host.charFactor = "0";
    // The first line's waits are empty, so the edit lands in the line wait's one event pass (the walk
    // made the first two).
    rig.pump.atPass(3, [&] {
        rig.host.charFactor = "2.3";
        rig.host.lineFactor = "2.5";
    });
    rig.host.lineFactor = "0";
    rig.send();
    EXPECT_EQ(
        rig.afterInitialWait(),
        concat({{key("A"), key("B"), key("<CR>"), "pass"}, charactersWith({"C"}, passes(11500)), {delay(250)}, kEnd}));
}

TEST(TextTransfer, AZeroCharacterFactorLeavesOnlyTheLineWaits) {
    TransferRig rig;
    rig.writeFile("AB\r\nC");
    rig.host.charFactor = "abc";
    rig.host.lineFactor = "1e39";
    rig.send();
    EXPECT_EQ(rig.afterInitialWait(),
              concat({{key("A"), key("B"), key("<CR>"), delay(65535), key("C"), delay(65535)}, kEnd}));
}

TEST(TextTransfer, ProgressEndsAtTheFileSize) {
    TransferRig rig;
    rig.writeFile("AB\r\nCD\r\n");
    rig.send();
    ASSERT_FALSE(rig.host.progressReports.empty());
    EXPECT_EQ(rig.host.progressReports.front(), std::make_pair(std::uint64_t{0}, std::uint64_t{8}));
    EXPECT_EQ(rig.host.progressReports.back(), std::make_pair(std::uint64_t{8}, std::uint64_t{8}));
    for (std::size_t i = 1; i < rig.host.progressReports.size(); ++i) {
        EXPECT_LE(rig.host.progressReports[i - 1].first, rig.host.progressReports[i].first);
    }
}

} // namespace
} // namespace quorvane::engine::test
