// What a monitor transfer over the serial line stores: runs of words, each at its load address. Read whole before
// anything is sent, so that a bad file sends nothing and the same plan serves the load and its verification.
#pragma once

#include "engine/TransferContext.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::engine {

struct LoadRun {
    std::uint16_t address = 0;
    std::vector<std::uint16_t> words;
    std::vector<std::size_t> lines; // the object file's line of each word; empty for a hex dump
};

struct LoadPlan {
    std::vector<LoadRun> runs;
    std::string entryNotice; // what the typed transfer says of the object code's entry address; empty without one
    std::size_t wordCount() const;
};

// Tagged object code: each "9" field starts a run at its address (unless address tags are ignored), each "B"
// field adds a word. Words before the first address go to `startAddress`; without one the file is refused.
// The end is Completed with the plan, or the same ReadFailed, Malformed or UnrecognisedTag as the typed transfer.
SenderResult readObjectPlan(const std::filesystem::path &path, bool ignoreAddressTags,
                            std::optional<std::uint16_t> startAddress, LoadPlan &plan);
// A binary image as words, first byte high, from `startAddress`; an odd last byte gets 00 as its low byte.
SenderResult readHexDumpPlan(const std::filesystem::path &path, std::uint16_t startAddress, LoadPlan &plan);

} // namespace quorvane::engine
