// The one line that says how a transfer ended, which the window shows after it.
#pragma once

#include "engine/SendDriver.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace quorvane::ui {

// Where a transfer stood, in the pieces it types: lines of a file read by lines, words of a hex dump.
struct TransferPosition {
    enum class Unit { Line, Word } unit = Unit::Line;
    std::uint64_t current = 0; // the piece last begun; 0 before the first
    std::uint64_t total = 0;
};

struct TransferOutcome {
    engine::SendResult result = engine::SendResult::Completed;
    std::string fileName;
    std::uint64_t done = 0; // characters of the file, as the progress counted them
    std::uint64_t total = 0;
    std::chrono::steady_clock::duration elapsed{};
    TransferPosition position;
};

// "Stopped after line 12 of 40", "Stopped before word 1 of 512".
std::string stoppedLine(const TransferPosition &position);

// "Sent demo.obj: 1,204 characters in 2 min 31 s", "Stopped after line 12 of 40", ...; nothing for a Send that
// started no transfer (nothing selected, one already running) or for the program ending.
std::optional<std::string> transferEndLine(const TransferOutcome &outcome);

// The position after `done` characters of the file at `path`: the line they reach for a file read by lines
// (`hexDump` false), else the word. A file that cannot be read again counts no lines.
TransferPosition transferPosition(const std::filesystem::path &path, bool hexDump, std::uint64_t done,
                                  std::uint64_t total);

// "2 min 31 s", "45 s".
std::string durationText(std::chrono::steady_clock::duration duration);

} // namespace quorvane::ui
