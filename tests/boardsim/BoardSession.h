// Runs bytes through a Board with no timing and collects what it shows and keeps.
#pragma once

#include "Board.h"

#include <string>
#include <string_view>

namespace quorvane::boardsim::test {

struct SessionResult {
    std::string output;
    std::string image;
    unsigned errors;
};

inline SessionResult runSession(const BoardConfig &config, std::string_view input) {
    Board board(config);
    board.start();
    for (char c : input) {
        board.receive(static_cast<std::uint8_t>(c), 0);
    }
    // Long enough for every queued character and every delay.
    board.advanceTo(3'600'000'000);
    return {board.takeOutput(), board.memory().toText(), board.errorCount()};
}

inline BoardConfig monitorConfig(MonitorKind kind, StartMode start = StartMode::Prompt, std::uint16_t address = 0) {
    BoardConfig config;
    config.monitor.kind = kind;
    config.monitor.start = start;
    config.monitor.startAddress = address;
    return config;
}

} // namespace quorvane::boardsim::test
