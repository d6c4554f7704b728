// Keystrokes of Quorvane's tagged object transfer, timed the way its pacing spaces them, to play into a Board.
#pragma once

#include "Board.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace quorvane::boardsim {

struct Keystroke {
    std::uint8_t byte;
    Micros at;
};

struct Pacing {
    float lineFactor = 1.0f;
    float charFactor = 1.0f;
    Micros passTime = 2; // one event-pump pass of the hex character wait
};

// Address tags followed: each "9" types CR, the memory command, four digits and CR, a line wait after each
// string; each "B" types four digits with a hex character wait after each, then a space and a line wait.
// A record that is neither stops the schedule, as the transfer would.
std::vector<Keystroke> taggedObjectKeystrokes(std::string_view objectText, MonitorKind monitor, const Pacing &pacing);

// Types the keystrokes and lets the board run until all is handled.
void play(Board &board, const std::vector<Keystroke> &keystrokes);

} // namespace quorvane::boardsim
