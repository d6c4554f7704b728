// The serial transfers against the simulated board with its 9600-baud timing: the time a 4 KiB image takes into
// EVMBUG and a 2,000-word object file into TIBUG, next to the line's limit (the board's own output on the wire at
// 10 bits a character) and to the typed transfer at the recommended factors. First on the manual clock (the
// protocol alone), then in real time: the real quorvane and boardsim on a pseudo-terminal pair that socat joins.
#include "engine/SerialSendOperation.h"
#include "platform/fake/FakeSerialLine.h"
#include "tests/support/BoardFarEnd.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/PollUntil.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace quorvane;
using engine::FileType;

constexpr double kBaud = 9600;
constexpr double kSecondsPerCharacter = 10 / kBaud;

class CountingOutput : public engine::BoardOutputSink {
public:
    void boardOutput(std::string_view bytes) override { count += bytes.size(); }
    std::size_t count = 0;
};

struct Phase {
    double seconds = 0;
    std::size_t boardCharacters = 0;
    engine::SerialEnd end = engine::SerialEnd::Completed;
};

struct Case {
    const char *name;
    bool tibug;
    FileType type;
    std::string content;
    std::uint16_t address;
    std::size_t words;
    double typedSeconds; // the typed transfer's waits at the recommended factors
};

std::string hex4(unsigned word) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", word & 0xFFFFu);
    return text;
}

// The record closed by its checksum (the two's complement of the sum of its characters up to the "7" tag) and F.
std::string closed(const std::string &record) {
    unsigned sum = '7';
    for (const char ch : record) {
        sum += static_cast<unsigned char>(ch);
    }
    return record + "7" + hex4(0x10000u - (sum & 0xFFFFu)) + "F\r\n";
}

// Records of up to 80 columns: a load address, data words, checksum and end of record; then the end of module.
std::string objectFile(std::size_t words, std::uint16_t address, std::mt19937 &random) {
    std::string file;
    std::string record = "9";
    record += hex4(address);
    for (std::size_t i = 0; i < words; ++i) {
        if (record.size() + 5 + 6 > 72) {
            file += closed(record);
            record.clear();
        }
        record += 'B';
        record += hex4(static_cast<unsigned>(random()));
    }
    return file + closed(record) + ":\r\n";
}

// Both phases run on one platform: the board's time goes on from where the load left it.
Phase run(const Case &c, const std::filesystem::path &folder, test::FakePlatform &platform, test::BoardFarEnd &board,
          bool verifyOnly) {
    const auto start = platform.clock.elapsed();
    test::FakeHost host;
    host.folder = folder.string();
    host.selected = "file";
    host.type = c.type;
    host.tibug = c.tibug;
    platform::FakeSerialLine line(platform.clock, board);
    platform::FakeSerialPorts ports(line);
    CountingOutput output;
    engine::SerialSendOperation operation(host, {ports, platform.pump, platform.clock, platform.dialogs, output});
    engine::SerialRequest request;
    request.address = c.address;
    request.verify = false;
    request.verifyOnly = verifyOnly;
    Phase phase;
    phase.end = operation.Send(request);
    phase.seconds = std::chrono::duration<double>(platform.clock.elapsed() - start).count();
    phase.boardCharacters = output.count;
    return phase;
}

void report(const Case &c) {
    const std::filesystem::path folder = test::makeTempDir("quorvane-bench-serial-");
    test::writeFile((folder / "file").string(), c.content);
    test::BoardFarEnd board(test::BoardFarEnd::realistic(
        c.tibug ? boardsim::MonitorKind::Tibug : boardsim::MonitorKind::Evmbug, boardsim::StartMode::Prompt));
    test::FakePlatform platform;
    const Phase load = run(c, folder, platform, board, false);
    const Phase verify = run(c, folder, platform, board, true);
    test::removeTree(folder.string());
    const double limit = static_cast<double>(load.boardCharacters) * kSecondsPerCharacter;
    const double verifyLimit = static_cast<double>(verify.boardCharacters) * kSecondsPerCharacter;
    std::printf("%s: %zu words\n", c.name, c.words);
    std::printf("  serial load   %7.1f s   line limit %7.1f s (%zu board characters)   %.1f%% over the limit\n",
                load.seconds, limit, load.boardCharacters, 100 * (load.seconds / limit - 1));
    std::printf("  read-back     %7.1f s   line limit %7.1f s   %.1f%% over; %s\n", verify.seconds, verifyLimit,
                100 * (verify.seconds / verifyLimit - 1),
                verify.end == engine::SerialEnd::Completed ? "every word matched" : "MISMATCH");
    std::printf("  typed         %7.1f s at the recommended factors: serial load %.1fx faster, with read-back %.1fx\n",
                c.typedSeconds, c.typedSeconds / load.seconds, c.typedSeconds / (load.seconds + verify.seconds));
    std::printf("  board: %zu received, %zu lost, %u errors (the opening CR's ERROR 4 at each start counts)\n",
                board.board().stats().received, board.board().stats().lost, board.board().errorCount());
}

// One quorvane run against the board on the far end of `port`; the board's output comes back through --echo.
Phase runReal(const std::vector<std::string> &arguments, const std::filesystem::path &folder, const std::string &name) {
    std::string command = "exec '" QUORVANE_PROGRAM "'";
    for (const std::string &argument : arguments) {
        command += " '" + argument + "'";
    }
    const std::string echo = (folder / (name + ".echo")).string();
    command += " --echo >" + echo + " 2>>" + (folder / "messages").string();
    const auto start = std::chrono::steady_clock::now();
    auto program = test::ChildProcess::start({"sh", "-c", command});
    const std::optional<int> status = program ? program->waitForExit(std::chrono::minutes(10)) : std::nullopt;
    Phase phase;
    phase.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    phase.boardCharacters = test::readFile(echo).value_or("").size();
    phase.end = status == 0 ? engine::SerialEnd::Completed : engine::SerialEnd::Mismatch;
    return phase;
}

void reportReal(const Case &c) {
    const std::filesystem::path folder = test::makeTempDir("quorvane-bench-pty-");
    const std::string d = folder.string();
    test::writeFile(d + "/file", c.content);
    auto socat = test::ChildProcess::start(
        {"socat", "pty,raw,echo=0,link=" + d + "/port", "pty,raw,echo=0,link=" + d + "/board"});
    const bool linked =
        socat && test::pollUntil([&] { return test::fileExists(d + "/port") && test::fileExists(d + "/board"); },
                                 std::chrono::seconds(5));
    auto board = test::ChildProcess::start({"sh", "-c",
                                            "exec '" QUORVANE_BOARDSIM "' --realistic --monitor " +
                                                std::string(c.tibug ? "tibug" : "evmbug") + " --status " + d +
                                                "/status --ready " + d + "/ready <" + d + "/board >" + d + "/board"});
    if (!linked || !board ||
        !test::pollUntil([&] { return test::fileExists(d + "/ready"); }, std::chrono::seconds(5))) {
        std::printf("%s: socat or boardsim did not start; no real-time figures\n", c.name);
        test::removeTree(d);
        return;
    }
    std::vector<std::string> arguments{d + "/file",
                                       "--port",
                                       d + "/port",
                                       "--type",
                                       c.type == FileType::HexDump ? "hex" : "object",
                                       "--monitor",
                                       c.tibug ? "tibug" : "evmbug"};
    if (c.type == FileType::HexDump) {
        arguments.insert(arguments.end(), {"--address", hex4(c.address)});
    }
    std::vector<std::string> load{"send", "--no-verify"};
    load.insert(load.end(), arguments.begin(), arguments.end());
    const Phase loaded = runReal(load, folder, "load");
    const std::size_t loadCharacters = loaded.boardCharacters;
    std::vector<std::string> verify{"verify"};
    verify.insert(verify.end(), arguments.begin(), arguments.end());
    const Phase verified = runReal(verify, folder, "verify");
    board->stop();
    std::string status = test::readFile(d + "/status").value_or("no status");
    std::replace(status.begin(), status.end(), '\n', ' ');
    const double limit = static_cast<double>(loadCharacters) * kSecondsPerCharacter;
    const double verifyLimit = static_cast<double>(verified.boardCharacters) * kSecondsPerCharacter;
    std::printf("%s, real time over a pseudo-terminal pair\n", c.name);
    std::printf("  serial load   %7.1f s   line limit %7.1f s (%zu board characters)   %.1f%% over the limit%s\n",
                loaded.seconds, limit, loadCharacters, 100 * (loaded.seconds / limit - 1),
                loaded.end == engine::SerialEnd::Completed ? "" : "; FAILED");
    std::printf("  read-back     %7.1f s   line limit %7.1f s   %.1f%% over; %s\n", verified.seconds, verifyLimit,
                100 * (verified.seconds / verifyLimit - 1),
                verified.end == engine::SerialEnd::Completed ? "every word matched" : "MISMATCH or failure");
    std::printf("  load and read-back %.1f s against %.1f s: %.1f%% over; board: %s\n",
                loaded.seconds + verified.seconds, limit + verifyLimit,
                100 * ((loaded.seconds + verified.seconds) / (limit + verifyLimit) - 1), status.c_str());
    test::removeTree(d);
}

} // namespace

// The typed figures follow the pacing rules: 1 s before the first keystroke; a hex digit waits 7000 passes of
// 2 us (14 ms) at character factor 1.0; a word's space and each keystroke of a memory command wait
// 100 ms x line factor (EVMBUG 1.5, TIBUG 3.0, as recommended).
// --simulated leaves out the real-time runs (about four minutes).
int main(int argc, char **argv) {
    std::mt19937 random(990);
    std::string image(4096, '\0');
    for (char &byte : image) {
        byte = static_cast<char>(random());
    }
    const double evmbugWord = 4 * 0.014 + 0.1 * 1.5;
    const double tibugWord = 4 * 0.014 + 0.1 * 3.0;
    const Case object{"2,000-word object file into TIBUG",   true, FileType::TaggedObject,
                      objectFile(2000, 0xA000, random),      0,    2000,
                      1.0 + 7 * 0.1 * 3.0 + 2000 * tibugWord};
    const Case binary{
        "4 KiB image into EVMBUG (hex dump)", false, FileType::HexDump, image, 0xA000, 2048, 1.0 + 2048 * evmbugWord};
    report(binary);
    report(object);
    if (argc > 1 && std::string_view(argv[1]) == "--simulated") {
        return 0;
    }
    reportReal(binary);
    reportReal(object);
    return 0;
}
