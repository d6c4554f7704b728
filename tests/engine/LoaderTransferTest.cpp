// The loader transfer: each record typed as it stands with fixed waits, 80-character records where lines run
// longer, and the files that are not object code text.
#include "ObjectCodeText.h"
#include "TransferRig.h"

#include <gtest/gtest.h>

namespace quorvane::engine::test {
namespace {

using Keys = std::vector<std::string>;

Keys charactersOf(std::string_view text) {
    Keys keys;
    for (const char ch : text) {
        keys.push_back(ch == ' ' ? "<SP>" : std::string(1, ch));
    }
    return keys;
}

TEST(LoaderTransfer, FixedWaitsWhateverTheFactorsSay) {
    TransferRig rig;
    rig.host.type = FileType::Loader;
    rig.host.charFactor = "3";
    rig.host.lineFactor = "7";
    rig.writeFile("A\r\nB");
    EXPECT_EQ(rig.send(), SendResult::Completed);
    EXPECT_EQ(rig.afterInitialWait(), (Keys{key("A"), passes(1000), key("<CR>"), delay(50), key("B"), passes(1000),
                                            delay(50), "restrict none", "finish", "STOP! hidden"}));
}

TEST(LoaderTransfer, RecordHandling) {
    const std::string a80(80, 'A');
    const std::string b80(80, 'B');
    const Keys a80Keys = charactersOf(a80);
    const Keys b80Keys = charactersOf(b80);
    const std::string wrongSum = "B12347FFFFF";
    const struct {
        const char *name;
        std::string bytes;
        Keys keys;
    } cases[] = {
        {"empty file", "", {}},
        {"two lines", "A\r\nB", {"A", "<CR>", "B"}},
        {"two lines, final terminator", "A\r\nB\r\n", {"A", "<CR>", "B"}},
        {"empty line inside", "A\r\n\r\nB", {"A", "<CR>", "<CR>", "B"}},
        {"final blank line", "A\r\n\r\n", {"A", "<CR>"}},
        {"carriage returns", "A\rB\r", {"A", "<CR>", "B"}},
        {"lone line feeds", "A\nB\n", {"A", "<CR>", "B"}},
        {"grammar characters", "+^%~(){}", {"{+}", "{^}", "{%}", "{~}", "{(}", "{)}", "{{}", "{}}"}},
        {"no line ends", a80 + b80 + ":", concat({a80Keys, {"<CR>"}, b80Keys, {"<CR>", ":"}})},
        {"whole records without line ends", a80 + b80, concat({a80Keys, {"<CR>"}, b80Keys})},
        {"a line of exactly 80", a80 + "\r\n:", concat({a80Keys, {"<CR>", ":"}})},
        {"a line past 80", a80 + "B\r\n:", concat({a80Keys, {"<CR>", "B", "<CR>", ":"}})},
        {"a wrong checksum is the board's to find",
         wrongSum + "\r\n:", concat({charactersOf(wrongSum), {"<CR>", ":"}})},
    };
    for (const auto &c : cases) {
        TransferRig rig;
        rig.host.type = FileType::Loader;
        rig.writeFile(c.bytes);
        EXPECT_EQ(rig.send(), SendResult::Completed) << c.name;
        EXPECT_EQ(rig.typed(), c.keys) << c.name;
    }
}

TEST(LoaderTransfer, FilesThatAreNotObjectCodeTextAreRefusedBeforeTyping) {
    const struct {
        const char *name;
        std::string bytes;
        std::string_view messagePart;
    } cases[] = {
        {"compressed object code", std::string("\x01\x00\x10\xFE\x80", 5), "compressed (binary) 990 object code"},
        {"larger than any object code", std::string(4 * 1024 * 1024 + 1, 'B'), "4194305 bytes long"},
    };
    for (const auto &c : cases) {
        TransferRig rig;
        rig.host.type = FileType::Loader;
        rig.writeFile(c.bytes);
        EXPECT_EQ(rig.send(), SendResult::MalformedFile) << c.name;
        ASSERT_EQ(rig.dialogs.messages().size(), 1u) << c.name;
        const std::string &text = rig.dialogs.messages().front().text;
        EXPECT_NE(text.find(c.messagePart), std::string::npos) << text;
        // Neither activated nor typed into: the terminal is left as it was.
        EXPECT_EQ(rig.transcript.entries(), (Keys{"pass", "pass", "STOP! shown", "restrict none", "finish",
                                                  "message error: " + text, "STOP! hidden"}))
            << c.name;
    }
}

} // namespace
} // namespace quorvane::engine::test
