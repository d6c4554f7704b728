// The one line that says how a transfer over the serial line ended, which the window shows after it.
#pragma once

#include "engine/SerialSendOperation.h"
#include "ui/TransferEnding.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace quorvane::ui {

struct SerialTransferOutcome {
    engine::SerialEnd end = engine::SerialEnd::Completed;
    std::string fileName;
    bool words = false;    // counted in words (through the monitor), else in bytes of the file
    bool readBack = false; // the count is the read-back's
    std::uint64_t done = 0;
    std::uint64_t total = 0;
    std::chrono::steady_clock::duration elapsed{};
    TransferPosition position; // a stopped line transfer: the line last begun, of how many
    std::string notes;         // what the transfer said on success ("verified: 10 words")
};

// "Sent demo.obj: 10 words in 4 s, verified: 10 words", "Board stopped answering after 3 of 10 words", ...;
// nothing for a Send that sent nothing and has said why already, or for the program ending.
std::optional<std::string> serialEndLine(const SerialTransferOutcome &outcome);

} // namespace quorvane::ui
