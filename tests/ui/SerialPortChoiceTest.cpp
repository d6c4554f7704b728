// The "Serial port" choice's rules that both faces follow: what a Send takes from the frame's controls, the port
// list's entries, the board's output as text, and the progress and end line of a serial transfer.
#include "ui/SerialPortChoice.h"
#include "ui/SerialEnding.h"
#include "ui/WindowProgress.h"

#include "platform/fake/ManualClock.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace quorvane::ui {
namespace {

using engine::FileType;
using engine::SerialEnd;
using std::chrono::seconds;

const std::vector<platform::SerialPortInfo> kListed{{"/dev/ttyUSB0", "FT232R USB UART (A50285BI)"}, {"/dev/ttyS0", ""}};

TEST(SerialPortChoice, NumbersInTheBoxes) {
    const struct {
        std::string text;
        std::optional<unsigned> baud;
        std::optional<std::uint16_t> address;
    } cases[] = {
        {"9600", 9600, 0x9600},
        {"50", 50, 0x50},
        {"49", std::nullopt, 0x49},
        {"4000000", 4000000, std::nullopt},
        {"4000001", std::nullopt, std::nullopt},
        {"fe00", std::nullopt, 0xFE00},
        {"FE0", std::nullopt, 0xFE0},
        {"0", std::nullopt, 0},
        {"", std::nullopt, std::nullopt},
        {"+10", std::nullopt, std::nullopt},
        {"-1", std::nullopt, std::nullopt},
        {"12 ", std::nullopt, std::nullopt},
        {">A000", std::nullopt, std::nullopt},
        {"99999999999", std::nullopt, std::nullopt},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(parseBaudRate(c.text), c.baud) << '"' << c.text << '"';
        EXPECT_EQ(parseLoadAddress(c.text), c.address) << '"' << c.text << '"';
    }
}

TEST(SerialPortChoice, ThePortIsTheListedNameOrTheTextAsTyped) {
    EXPECT_EQ(portEntryText(kListed[0]), "/dev/ttyUSB0  FT232R USB UART (A50285BI)");
    EXPECT_EQ(portEntryText(kListed[1]), "/dev/ttyS0");
    const struct {
        std::string text;
        std::string port;
    } cases[] = {
        {"/dev/ttyUSB0  FT232R USB UART (A50285BI)", "/dev/ttyUSB0"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {" /dev/ttyS0 ", "/dev/ttyS0"},
        {"/tmp/board/port", "/tmp/board/port"},
        {"/dev/serial/by-id/usb-FTDI  x", "/dev/serial/by-id/usb-FTDI  x"},
        {"   ", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(portNameFor(c.text, kListed), c.port) << '"' << c.text << '"';
    }
}

TEST(SerialPortChoice, ASendTakesTheRequestOrSaysWhyNothingIsSent) {
    const struct {
        const char *name;
        SerialFormInput input;
        std::string port;
        unsigned baud;
        std::optional<std::uint16_t> address;
        bool verify;
        std::string problem; // the start of the sentence; empty: a request
    } cases[] = {
        {"hex", {"/dev/ttyS0", "9600", "fe00", true, FileType::HexDump}, "/dev/ttyS0", 9600, 0xFE00, true, ""},
        {"listed entry",
         {portEntryText(kListed[0]), " 19200 ", "", false, FileType::TaggedObject},
         "/dev/ttyUSB0",
         19200,
         std::nullopt,
         false,
         ""},
        {"loader ignores both",
         {"COM3", "300", "not hex", true, FileType::Loader},
         "COM3",
         300,
         std::nullopt,
         false,
         ""},
        {"text", {"/dev/ttyS0", "115200", "", true, FileType::Text}, "/dev/ttyS0", 115200, std::nullopt, false, ""},
        {"no port",
         {"  ", "9600", "", true, FileType::HexDump},
         "",
         0,
         std::nullopt,
         false,
         "Choose the serial port in the Port box"},
        {"bad baud",
         {"/dev/ttyS0", "fast", "", true, FileType::Text},
         "",
         0,
         std::nullopt,
         false,
         "The baud rate must be a whole number from 50 to 4000000, not \"fast\"."},
        {"bad address",
         {"/dev/ttyS0", "9600", "1FE00", true, FileType::HexDump},
         "",
         0,
         std::nullopt,
         false,
         "The load address must be one to four hexadecimal digits, not \"1FE00\"."},
    };
    for (const auto &c : cases) {
        const SerialFormRequest result = serialRequestFor(c.input, kListed);
        if (!c.problem.empty()) {
            EXPECT_FALSE(result.request) << c.name;
            EXPECT_EQ(result.problem.rfind(c.problem, 0), 0u) << c.name << ": " << result.problem;
            EXPECT_NE(result.problem.find("Nothing was sent."), std::string::npos) << c.name;
            continue;
        }
        ASSERT_TRUE(result.request) << c.name << ": " << result.problem;
        EXPECT_EQ(result.request->port, c.port) << c.name;
        EXPECT_EQ(result.request->baud, c.baud) << c.name;
        EXPECT_EQ(result.request->address, c.address) << c.name;
        EXPECT_EQ(result.request->verify, c.verify) << c.name;
        EXPECT_FALSE(result.request->verifyOnly) << c.name;
    }
}

TEST(SerialPortChoice, BoardOutputBecomesLinesWhateverThePieces) {
    const struct {
        std::vector<std::string> pieces;
        std::string text;
    } cases[] = {
        {{"\r\nFE00=1234 "}, "\nFE00=1234 "},
        {{"ABC\r", "\nDEF"}, "ABC\nDEF"},
        {{"A\r\rB"}, "A\n\nB"},
        {{"A\n\nB"}, "A\n\nB"},
        {{"A\n\r", "B"}, "A\n\nB"},
        {{std::string("x\0\x07\x1b\x7fy", 6)}, "xy"},
        {{"a\tb\xC3\xA9"}, "a\tb<C3><A9>"},
    };
    for (const auto &c : cases) {
        BoardOutputText output;
        std::string text;
        for (const std::string &piece : c.pieces) {
            text += output.append(piece);
        }
        EXPECT_EQ(text, c.text) << c.pieces.front();
    }
}

SerialTransferOutcome outcome(SerialEnd end, std::string file, bool words = false, bool readBack = false,
                              std::uint64_t done = 0, std::uint64_t total = 0, seconds elapsed = {},
                              std::uint64_t line = 0, std::uint64_t lines = 0, std::string notes = {}) {
    return {end,
            std::move(file),
            words,
            readBack,
            done,
            total,
            elapsed,
            {TransferPosition::Unit::Line, line, lines},
            std::move(notes)};
}

TEST(SerialPortChoice, EachWayASerialTransferEndsHasItsLine) {
    const struct {
        SerialTransferOutcome outcome;
        std::optional<std::string> expected;
    } cases[] = {
        {outcome(SerialEnd::Completed, "demo.obj", true, true, 10, 10, seconds(4), 0, 0, "verified: 10 words"),
         "Sent demo.obj: 10 words in 4 s, verified: 10 words"},
        {outcome(SerialEnd::Completed, "a.txt", false, false, 1204, 1204, seconds(9), 0, 0, ""),
         "Sent a.txt: 1,204 characters in 9 s"},
        {outcome(SerialEnd::Stopped, "a.bin", true, false, 3, 10, seconds(2)), "Stopped after 3 of 10 words"},
        {outcome(SerialEnd::Stopped, "a.bin", true, true, 3, 10, seconds(2)), "Stopped after 3 of 10 words read back"},
        {outcome(SerialEnd::Stopped, "a.txt", false, false, 30, 90, seconds(2), 2, 7), "Stopped after line 2 of 7"},
        {outcome(SerialEnd::NoAnswer, "a.bin", true, false, 3, 1000, seconds(2)),
         "Board stopped answering after 3 of 1,000 words"},
        {outcome(SerialEnd::LineFailed, "a.txt", false, false, 30, 90, seconds(2)),
         "Serial line failed after 30 of 90 characters"},
        {outcome(SerialEnd::BoardError, "demo.obj", false, false, 30, 90, seconds(2)),
         "Board reported an error after 30 of 90 characters"},
        {outcome(SerialEnd::NoAnswer, "a.bin", true, true, 5, 10, seconds(2)),
         "Board stopped answering after 5 of 10 words read back"},
        {outcome(SerialEnd::Mismatch, "a.bin", true, true, 10, 10, seconds(2)),
         "Sent a.bin, but the board's memory differs from the file"},
        {outcome(SerialEnd::PortUnavailable, "a.bin"), "Serial port not opened: nothing was sent"},
        {outcome(SerialEnd::FileError, "a.bin"), "a.bin could not be read"},
        {outcome(SerialEnd::MalformedFile, "bad.obj"), std::nullopt},
        {outcome(SerialEnd::Abandoned, "a.bin", true, false, 3, 10), std::nullopt},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(serialEndLine(c.outcome), c.expected) << static_cast<int>(c.outcome.end);
    }
}

TEST(SerialPortChoice, TheWindowCountsConfirmedWordsThenTheReadBack) {
    platform::ManualClock clock;
    WindowProgress progress(clock);
    progress.prepareSerial("/files", "demo.obj", FileType::TaggedObject);
    progress.update(0, 10);
    clock.advance(seconds(1));
    progress.update(5, 10);
    EXPECT_EQ(progress.figures().rfind("5 of 10 words confirmed", 0), 0u) << progress.figures();
    EXPECT_EQ(progress.title(), "Quorvane - 50 %");
    clock.advance(seconds(1));
    progress.update(10, 10);
    progress.update(1, 10);
    EXPECT_EQ(progress.figures(), "1 of 10 words read back");
    EXPECT_EQ(progress.title(), "Quorvane - 10 %");
    clock.advance(seconds(2));
    progress.update(10, 10);
    EXPECT_EQ(progress.finish(SerialEnd::Completed, "verified: 10 words"),
              "Sent demo.obj: 10 words in 4 s, verified: 10 words");
    EXPECT_EQ(progress.title(), "Quorvane");
}

TEST(SerialPortChoice, TheWindowCountsBytesOfALineTransferAndFindsTheStoppedLine) {
    const test::TempFolder folder("serial-window-");
    folder.write("a.txt", "one\ntwo\nthree\n");
    platform::ManualClock clock;
    WindowProgress progress(clock);
    progress.prepareSerial(folder.path().string(), "a.txt", FileType::Text);
    EXPECT_EQ(progress.finish(SerialEnd::PortUnavailable, ""), "Serial port not opened: nothing was sent");
    progress.prepareSerial(folder.path().string(), "a.txt", FileType::Text);
    progress.update(8, 14);
    EXPECT_EQ(progress.figures(), "8 of 14 bytes sent");
    EXPECT_EQ(progress.finish(SerialEnd::Stopped, ""), "Stopped after line 2 of 3");
    progress.prepare(folder.path().string(), "a.txt", FileType::Text);
    progress.update(8, 14);
    EXPECT_EQ(progress.figures(), "8 of 14 characters typed") << "a typed transfer after a serial one";
}

} // namespace
} // namespace quorvane::ui
