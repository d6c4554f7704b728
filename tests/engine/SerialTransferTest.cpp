// The serial transfers on the manual clock against the simulated board with its real timing: what the board
// holds, how each transfer ends and what it says, and what was sent when something goes wrong.
#include "TransferRig.h"
#include "engine/SerialSendOperation.h"
#include "platform/fake/FakeSerialLine.h"
#include "tests/support/BoardFarEnd.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quorvane::engine::test {
namespace {

using namespace std::chrono_literals;
using quorvane::test::BoardFarEnd;

class NoOutput : public BoardOutputSink {
public:
    void boardOutput(std::string_view bytes) override { shown += bytes; }
    std::string shown;
};

std::string sampleBytes(const std::string &name) {
    std::ifstream file(std::string(QUORVANE_SAMPLES_FOLDER) + "/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

struct SerialCase {
    const char *name;
    const char *file;
    FileType type;
    bool tibug;
    boardsim::StartMode start;
    std::optional<std::uint16_t> address;
    std::size_t changeByte;
    std::size_t failAtByte;
    bool silent;
    SerialEnd end;
    std::string image;      // what the board holds; "-" for no check
    std::string message;    // a part of the one message shown; empty for none
    std::string sentEnding; // what the line carried last; empty for no check
};

std::ostream &operator<<(std::ostream &out, const SerialCase &c) { return out << c.name; }

class SerialTransferTest : public testing::TestWithParam<SerialCase> {};

TEST_P(SerialTransferTest, EndsAsTheBoardAnswers) {
    const SerialCase &c = GetParam();
    TransferRig rig;
    rig.host.type = c.type;
    rig.host.tibug = c.tibug;
    rig.writeFile(sampleBytes(c.file));
    boardsim::BoardConfig config =
        BoardFarEnd::realistic(c.tibug ? boardsim::MonitorKind::Tibug : boardsim::MonitorKind::Evmbug, c.start);
    config.changeByte = c.changeByte;
    BoardFarEnd board(config, c.silent);
    platform::FakeSerialLine line(rig.clock, board);
    if (c.failAtByte > 0) {
        line.failAtByte(c.failAtByte);
    }
    platform::FakeSerialPorts ports(line);
    NoOutput output;
    SerialSendOperation operation(rig.host, {ports, rig.pump, rig.clock, rig.dialogs, output});
    SerialRequest request;
    request.port = "/dev/ttyFAKE0";
    request.address = c.address;

    EXPECT_EQ(operation.Send(request), c.end);
    if (c.image != "-") {
        EXPECT_EQ(board.board().memory().toText(), c.image);
    }
    if (c.message.empty()) {
        EXPECT_TRUE(rig.dialogs.messages().empty());
    } else {
        ASSERT_EQ(rig.dialogs.messages().size(), 1u);
        EXPECT_NE(rig.dialogs.messages()[0].text.find(c.message), std::string::npos) << rig.dialogs.messages()[0].text;
    }
    EXPECT_TRUE(line.written().ends_with(c.sentEnding)) << line.written();
    if (c.end == SerialEnd::MalformedFile) {
        EXPECT_EQ(line.written(), "");
    }
    // After an ERROR the board is in its delay loop: what was still on its way is lost there, harmlessly.
    EXPECT_LE(board.board().stats().lost, c.end == SerialEnd::BoardError ? 1u : 0u);
    EXPECT_FALSE(rig.host.stopShown);
}

const std::string kDemo = sampleBytes("demo.image");
const std::string kEven = sampleBytes("even.image");

INSTANTIATE_TEST_SUITE_P(
    Transfers, SerialTransferTest,
    testing::Values(
        SerialCase{"ObjectEvmbug",
                   "demo.obj",
                   FileType::TaggedObject,
                   false,
                   boardsim::StartMode::Prompt,
                   {},
                   0,
                   0,
                   false,
                   SerialEnd::Completed,
                   kDemo,
                   "verified: 10 words",
                   "\r"},
        SerialCase{"ObjectTibug",
                   "demo.obj",
                   FileType::TaggedObject,
                   true,
                   boardsim::StartMode::Prompt,
                   {},
                   0,
                   0,
                   false,
                   SerialEnd::Completed,
                   kDemo,
                   "verified: 10 words",
                   "\r"},
        SerialCase{"ObjectWithEntryTibug",
                   "entry.obj",
                   FileType::TaggedObject,
                   true,
                   boardsim::StartMode::Prompt,
                   {},
                   0,
                   0,
                   false,
                   SerialEnd::Completed,
                   sampleBytes("entry.image"),
                   "verified: 3 words\r\n\r\nThe program's entry is at B000.",
                   "\r"},
        SerialCase{"HexEvmbug", "even.bin", FileType::HexDump, false, boardsim::StartMode::Prompt, 0xFE00, 0, 0, false,
                   SerialEnd::Completed, kEven, "verified: 5 words", "\r"},
        SerialCase{"HexWithoutAddress",
                   "even.bin",
                   FileType::HexDump,
                   false,
                   boardsim::StartMode::Prompt,
                   {},
                   0,
                   0,
                   false,
                   SerialEnd::MalformedFile,
                   "",
                   std::string(kNeedsAddressText),
                   ""},
        SerialCase{"ChangedOnTheLine", "even.bin", FileType::HexDump, true, boardsim::StartMode::Prompt, 0xFE00, 9, 0,
                   false, SerialEnd::Mismatch, "-", "1 of 5 words differ from the file. FE00 expected 1234 found 1334.",
                   "\r"},
        SerialCase{"ObjectWithABadChecksumSendsNothing",
                   "badsum.obj",
                   FileType::TaggedObject,
                   false,
                   boardsim::StartMode::Prompt,
                   {},
                   0,
                   0,
                   false,
                   SerialEnd::MalformedFile,
                   "",
                   "checksum",
                   ""},
        SerialCase{"SilentBoard", "even.bin", FileType::HexDump, false, boardsim::StartMode::Prompt, 0xFE00, 0, 0, true,
                   SerialEnd::NoAnswer, "-",
                   "The board stopped answering at the start (waiting for the monitor's prompt): nothing came back "
                   "for 1.1 s. Sent last: \"<CR>\"; received last: \"\".",
                   "\r"},
        SerialCase{"PortGoneMidWord", "even.bin", FileType::HexDump, false, boardsim::StartMode::Prompt, 0xFE00, 0, 17,
                   false, SerialEnd::LineFailed, "FE00=1234\n",
                   "The serial line failed at the word for address FE02 (the device was removed).", "1234 0A"},
        SerialCase{"LoaderEvmbug",
                   "demo.obj",
                   FileType::Loader,
                   false,
                   boardsim::StartMode::Loader,
                   {},
                   0,
                   0,
                   false,
                   SerialEnd::Completed,
                   kDemo,
                   "",
                   "OBJECT"},
        SerialCase{"LoaderChecksum",
                   "badsum.obj",
                   FileType::Loader,
                   true,
                   boardsim::StartMode::Loader,
                   {},
                   0,
                   0,
                   false,
                   SerialEnd::BoardError,
                   "-",
                   "The board answered ERROR 1 (checksum error) at line 2 of the file.",
                   ""},
        SerialCase{"TextTibug",
                   "hello.bas",
                   FileType::Text,
                   true,
                   boardsim::StartMode::Text,
                   {},
                   0,
                   0,
                   false,
                   SerialEnd::Completed,
                   "",
                   "",
                   "GOTO 20"},
        SerialCase{"TextToABoardThatDoesNotEcho",
                   "hello.bas",
                   FileType::Text,
                   false,
                   boardsim::StartMode::Text,
                   {},
                   0,
                   0,
                   true,
                   SerialEnd::Completed,
                   "",
                   "",
                   "GOTO 20"}),
    [](const auto &param) { return std::string(param.param.name); });

TEST(SerialStop, FinishesTheWordUnderWayThenSendsNothingMore) {
    TransferRig rig;
    rig.host.type = FileType::HexDump;
    rig.writeFile(std::string(64, '\x11'));
    BoardFarEnd board(BoardFarEnd::realistic(boardsim::MonitorKind::Evmbug, boardsim::StartMode::Prompt));
    platform::FakeSerialLine line(rig.clock, board);
    platform::FakeSerialPorts ports(line);
    NoOutput output;
    SerialSendOperation operation(rig.host, {ports, rig.pump, rig.clock, rig.dialogs, output});
    rig.stopAt(1000ms);
    SerialRequest request;
    request.address = 0xFE00;
    EXPECT_EQ(operation.Send(request), SerialEnd::Stopped);
    const std::string &sent = line.written();
    EXPECT_TRUE(sent.ends_with("1111 ")) << sent;
    const std::size_t words = (sent.size() - std::string_view("\rIM FE00\r").size()) / 5;
    EXPECT_GT(words, 0u);
    EXPECT_LT(words, 32u);
    EXPECT_EQ(board.board().memory().toText().size(), words * std::string_view("FE00=1111\n").size());
}

} // namespace
} // namespace quorvane::engine::test
