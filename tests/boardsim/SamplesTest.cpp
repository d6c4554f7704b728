// The sample files load as their memory images say, through the loader and through both monitors.
#include "BoardSession.h"
#include "MemoryImage.h"
#include "TransferSchedule.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace quorvane::boardsim::test {
namespace {

std::string readSample(const std::string &name) {
    std::ifstream file(std::string(QUORVANE_SAMPLES_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// What the text transfer types: every line ended by CR.
std::string typedByTextTransfer(const std::string &file) {
    std::string typed;
    for (char c : file) {
        if (c != '\n') {
            typed += c;
        }
    }
    return typed;
}

// What the loader transfer types: every line, a CR between lines, none after the last.
std::string typedByLoaderTransfer(const std::string &file) {
    std::string typed = typedByTextTransfer(file);
    if (!typed.empty() && typed.back() == '\r') {
        typed.pop_back();
    }
    return typed;
}

TEST(Samples, ObjectFilesLoadIntoTheirImages) {
    for (const char *name : {"demo", "reloc", "records", "entry"}) {
        for (MonitorKind kind : {MonitorKind::Evmbug, MonitorKind::Tibug}) {
            SessionResult result = runSession(monitorConfig(kind, StartMode::Loader),
                                              typedByLoaderTransfer(readSample(std::string(name) + ".obj")));
            EXPECT_EQ(result.image, readSample(std::string(name) + ".image")) << name;
            EXPECT_EQ(result.errors, 0u) << name;
        }
    }
}

TEST(Samples, BadChecksumSampleIsReported) {
    SessionResult result = runSession(monitorConfig(MonitorKind::Evmbug, StartMode::Loader),
                                      typedByLoaderTransfer(readSample("badsum.obj")));
    EXPECT_NE(result.output.find("ERROR 1"), std::string::npos);
    EXPECT_GE(result.errors, 1u);
}

// With the recommended factors a realistic board keeps the whole demo program.
TEST(Samples, DemoThroughTheMonitorWithRecommendedFactors) {
    struct Case {
        MonitorKind kind;
        Micros busy;
        float lineFactor;
    };
    for (const Case &c : {Case{MonitorKind::Evmbug, 100'000, 1.5f}, Case{MonitorKind::Tibug, 200'000, 3.0f}}) {
        BoardConfig config = monitorConfig(c.kind);
        config.busyTime = c.busy;
        config.baud = 9600;
        config.charTime = 1041;
        Board board(config);
        board.start();
        play(board, taggedObjectKeystrokes(readSample("demo.obj"), c.kind, Pacing{c.lineFactor, 1.0f}));
        EXPECT_EQ(board.memory().toText(), readSample("demo.image"));
        EXPECT_EQ(board.stats().lost, 0u);
    }
}

TEST(Samples, EvenImageTypedAsHexDump) {
    std::string typed;
    std::string image = readSample("even.bin");
    for (std::size_t i = 0; i + 1 < image.size(); i += 2) {
        auto word = static_cast<std::uint16_t>((static_cast<std::uint8_t>(image[i]) << 8) |
                                               static_cast<std::uint8_t>(image[i + 1]));
        typed += hex4(word) + " ";
    }
    typed += "\r";
    SessionResult result = runSession(monitorConfig(MonitorKind::Tibug, StartMode::Memory, 0xFE00), typed);
    EXPECT_EQ(result.image, readSample("even.image"));
    EXPECT_EQ(readSample("odd.bin").size() % 2, 1u);
}

TEST(Samples, TextHoldsEveryPrintableCharacterAndEchoesBack) {
    std::string text = readSample("ascii.txt");
    for (int c = 0x20; c < 0x7F; ++c) {
        EXPECT_NE(text.find(static_cast<char>(c)), std::string::npos) << c;
    }
    EXPECT_EQ(runSession(monitorConfig(MonitorKind::Evmbug, StartMode::Text), typedByTextTransfer(text)).output, text);
}

} // namespace
} // namespace quorvane::boardsim::test
