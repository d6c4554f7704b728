// The simulator's command-line options and its help text.
#pragma once

#include "Board.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quorvane::boardsim {

struct BoardOptions {
    BoardConfig board;
    std::string imagePath;
    std::string logPath;
    std::string statusPath;
    std::string readyPath;
    std::string quitSequence;
    std::optional<std::uint8_t> dumpKey;
    bool help = false;
};

// Parses the arguments after the program name; on failure says why in error.
std::optional<BoardOptions> parseBoardOptions(std::span<const std::string_view> args, std::string &error);

// `program`: the name it was started by (installed, it is quorvane-boardsim).
std::string boardHelpText(std::string_view program = "boardsim");

} // namespace quorvane::boardsim
