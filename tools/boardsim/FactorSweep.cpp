// boardsim_factors: which line and character factors the tagged object transfer needs on a busy board.
#include "Board.h"
#include "ObjectLoader.h"
#include "TransferSchedule.h"

#include <cstdio>
#include <string>

using namespace quorvane::boardsim;

namespace {

// Three address tags and 24 data words, as an assembler lays out a small program.
std::string demoModule() {
    std::string text;
    std::uint16_t word = 0x0200;
    for (std::uint16_t address : std::initializer_list<std::uint16_t>{0xFE00, 0xFE10, 0xFF00}) {
        std::string fields = (address == 0xFE00 ? std::string("00000DEMO    ") : std::string()) + '9' + hex4(address);
        for (int i = 0; i < 8; ++i) {
            fields += 'B' + hex4(word);
            word = static_cast<std::uint16_t>(word * 5 + 0x1234);
        }
        text += closeRecord(fields) + "\r\n";
    }
    return text + ":       END\r\n";
}

std::string expectedImage(const std::string &module) {
    MemoryImage memory;
    ObjectLoader loader(memory, 0);
    for (char c : module) {
        loader.handle(static_cast<std::uint8_t>(c));
    }
    return memory.toText();
}

struct Outcome {
    std::size_t lost;
    bool exact;
};

Outcome runTransfer(const std::string &module, MonitorKind monitor, Micros busy, Micros charTime, Pacing pacing,
                    bool pauseOnOpen = false) {
    BoardConfig config;
    config.monitor.kind = monitor;
    config.monitor.pauseOnOpen = pauseOnOpen;
    config.busyTime = busy;
    config.baud = 9600;
    config.charTime = charTime;
    Board board(config);
    board.start();
    play(board, taggedObjectKeystrokes(module, monitor, pacing));
    return {board.stats().lost, board.memory().toText() == expectedImage(module)};
}

void sweepLineFactor(const std::string &module, MonitorKind monitor, Micros busy, bool pauseOnOpen = false) {
    std::printf("%s, busy %lld ms%s, char factor 1.0:\n ", monitor == MonitorKind::Tibug ? "TIBUG" : "EVMBUG",
                static_cast<long long>(busy / 1000), pauseOnOpen ? " also after the CR that opens memory" : "");
    float safeFrom = 0.0f;
    for (int tenth = 5; tenth <= 40; ++tenth) {
        Pacing pacing{static_cast<float>(tenth) / 10.0f, 1.0f};
        Outcome outcome = runTransfer(module, monitor, busy, 1041, pacing, pauseOnOpen);
        std::printf(" %.1f:%zu%s", static_cast<double>(pacing.lineFactor), outcome.lost, outcome.exact ? "" : "!");
        if (outcome.lost != 0 || !outcome.exact) {
            safeFrom = 0.0f;
        } else if (safeFrom == 0.0f) {
            safeFrom = pacing.lineFactor;
        }
    }
    std::printf("\n  smallest line factor losing nothing (and every larger one too): %.1f\n",
                static_cast<double>(safeFrom));
}

void sweepCharFactor(const std::string &module, Micros charTime) {
    std::printf("TIBUG, busy 200 ms, line factor 3.0, handling %lld us per character:\n ",
                static_cast<long long>(charTime));
    for (float factor : {0.0f, 0.05f, 0.1f, 0.2f, 0.5f, 1.0f, 2.0f}) {
        Outcome outcome = runTransfer(module, MonitorKind::Tibug, 200'000, charTime, Pacing{3.0f, factor});
        std::printf(" %.2f:%zu%s", static_cast<double>(factor), outcome.lost, outcome.exact ? "" : "!");
    }
    std::printf("\n");
}

} // namespace

int main() {
    std::string module = demoModule();
    std::printf("Tagged object transfer, address tags followed, line 9600 baud; figures are factor:lost"
                " characters, '!' when the memory image differs from the file.\n");
    for (Micros busy : {70'000, 100'000, 130'000}) {
        sweepLineFactor(module, MonitorKind::Evmbug, busy);
    }
    sweepLineFactor(module, MonitorKind::Evmbug, 100'000, true);
    for (Micros busy : {200'000, 250'000}) {
        sweepLineFactor(module, MonitorKind::Tibug, busy);
    }
    for (Micros charTime : {1041, 5000, 20'000}) {
        sweepCharFactor(module, charTime);
    }
    return 0;
}
