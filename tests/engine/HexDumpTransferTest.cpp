// The hex dump transfer: words of two bytes as four digits and a space, the odd last byte, large images.
#include "TransferRig.h"

#include <gtest/gtest.h>

namespace quorvane::engine::test {
namespace {

using Keys = std::vector<std::string>;

TEST(HexDumpTransfer, TheExampleWithItsWaits) {
    TransferRig rig;
    rig.host.type = FileType::HexDump;
    rig.writeFile(std::string_view("\x12\x0A\xFF\x00", 4));
    EXPECT_EQ(rig.send(), SendResult::Completed);
    std::vector<std::string> expected;
    for (const std::string_view word : {"120A", "FF00"}) {
        for (const char digit : word) {
            expected.push_back(key(std::string(1, digit)));
            expected.push_back(passes(7000));
        }
        expected.push_back(key("<SP>"));
        expected.push_back(delay(100));
    }
    expected.insert(expected.end(), {key("<CR>"), "restrict none", "finish", "STOP! hidden"});
    EXPECT_EQ(rig.afterInitialWait(), expected);
}

TEST(HexDumpTransfer, Images) {
    const struct {
        const char *name;
        std::string_view bytes;
        Keys keys;
    } cases[] = {
        {"empty", "", {"<CR>"}},
        {"00 01", std::string_view("\x00\x01", 2), {"0", "0", "0", "1", "<SP>", "<CR>"}},
        {"odd length", "\x12\x34\x56", {"1", "2", "3", "4", "<SP>", "5", "6", "0", "0", "<SP>", "<CR>"}},
        {"one byte", "\x0A", {"0", "A", "0", "0", "<SP>", "<CR>"}},
        {"line ends are data", "\r\n", {"0", "D", "0", "A", "<SP>", "<CR>"}},
    };
    for (const auto &c : cases) {
        for (const bool tibug : {false, true}) {
            TransferRig rig;
            rig.host.type = FileType::HexDump;
            rig.host.tibug = tibug;
            rig.writeFile(c.bytes);
            EXPECT_EQ(rig.send(), SendResult::Completed) << c.name;
            EXPECT_EQ(rig.typed(), c.keys) << c.name << (tibug ? " TIBUG" : " EVMBUG");
        }
    }
}

TEST(HexDumpTransfer, AZeroCharacterFactorKeepsTheLineWait) {
    TransferRig rig;
    rig.host.type = FileType::HexDump;
    rig.host.charFactor = "0";
    rig.writeFile("\xAB\xCD");
    rig.send();
    EXPECT_EQ(rig.afterInitialWait(),
              (std::vector<std::string>{key("A"), key("B"), key("C"), key("D"), key("<SP>"), delay(100), key("<CR>"),
                                        "restrict none", "finish", "STOP! hidden"}));
}

// Larger than one read piece, odd, with every byte value: checks pairing across the pieces.
TEST(HexDumpTransfer, AnImageLargerThanOneReadPieceStaysPaired) {
    std::string image;
    for (std::size_t i = 0; i < 3 * 65536 + 3; ++i) {
        image.push_back(static_cast<char>((i * 7 + i / 256) & 0xFF));
    }
    TransferRig rig;
    rig.host.type = FileType::HexDump;
    rig.host.charFactor = "0";
    rig.host.lineFactor = "0";
    rig.writeFile(image);
    EXPECT_EQ(rig.send(), SendResult::Completed);
    const Keys typed = rig.typed();
    ASSERT_EQ(typed.size(), (image.size() + 1) / 2 * 5 + 1);
    const char *digits = "0123456789ABCDEF";
    for (std::size_t word = 0; word < (image.size() + 1) / 2; ++word) {
        const auto high = static_cast<unsigned char>(image[2 * word]);
        const auto low = 2 * word + 1 < image.size() ? static_cast<unsigned char>(image[2 * word + 1]) : 0u;
        const Keys expected = {std::string(1, digits[high >> 4]), std::string(1, digits[high & 15]),
                               std::string(1, digits[low >> 4]), std::string(1, digits[low & 15]), "<SP>"};
        ASSERT_EQ(Keys(typed.begin() + 5 * word, typed.begin() + 5 * word + 5), expected) << "word " << word;
    }
    EXPECT_EQ(rig.host.progressReports.back().first, image.size());
}

} // namespace
} // namespace quorvane::engine::test
