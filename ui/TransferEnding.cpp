// The texts of a transfer's end, and the line or word it reached.
#include "ui/TransferEnding.h"

#include "engine/LineReader.h"
#include "ui/TransferProgress.h"

namespace quorvane::ui {
namespace {

using engine::SendResult;

std::string unitName(TransferPosition::Unit unit) { return unit == TransferPosition::Unit::Word ? "word" : "line"; }

std::string ofTotal(const TransferPosition &position) {
    return unitName(position.unit) + " " + groupedNumber(position.current) + " of " + groupedNumber(position.total);
}

std::string charactersOf(const TransferOutcome &o) {
    return groupedNumber(o.done) + " of " + groupedNumber(o.total) + " characters";
}

} // namespace

std::string stoppedLine(const TransferPosition &position) {
    if (position.current == 0) {
        return "Stopped before " + unitName(position.unit) + " 1 of " + groupedNumber(position.total);
    }
    return "Stopped after " + ofTotal(position);
}

std::optional<std::string> transferEndLine(const TransferOutcome &o) {
    switch (o.result) {
    case SendResult::Completed:
        return "Sent " + o.fileName + ": " + groupedNumber(o.total) + " characters in " + durationText(o.elapsed);
    case SendResult::Stopped:
        return stoppedLine(o.position);
    case SendResult::TerminalLost:
        return "Terminal window lost after " + charactersOf(o);
    case SendResult::Untypable:
        return "Ended at a character the keyboard cannot type, after " + charactersOf(o);
    case SendResult::CharactersLeftOut:
        return "Sent " + o.fileName + " with characters left out that no key produces";
    case SendResult::TerminalNotFound:
        return "Terminal window not found: nothing was typed";
    case SendResult::FileError:
        return o.done == 0 ? o.fileName + " could not be read"
                           : o.fileName + " could not be read after " + charactersOf(o);
    case SendResult::MalformedFile:
        return "Ended at an error in " + ofTotal(o.position) + " of " + o.fileName;
    case SendResult::NothingSelected:
    case SendResult::AlreadyRunning:
    case SendResult::Abandoned:
        break;
    }
    return std::nullopt;
}

TransferPosition transferPosition(const std::filesystem::path &path, bool hexDump, std::uint64_t done,
                                  std::uint64_t total) {
    if (hexDump) {
        return {TransferPosition::Unit::Word, (done + 1) / 2, (total + 1) / 2};
    }
    TransferPosition position;
    engine::LineReader file;
    std::string reason;
    if (!file.open(path, reason)) {
        return position;
    }
    std::u32string line;
    while (file.readLine(line)) {
        ++position.total;
        // The transfer reports a line's characters, its end included, as done when it begins the line.
        if (file.consumed() <= done) {
            position.current = position.total;
        }
    }
    return position;
}

std::string durationText(std::chrono::steady_clock::duration duration) {
    const long long seconds = std::chrono::duration_cast<std::chrono::seconds>(duration).count();
    if (seconds < 60) {
        return std::to_string(seconds) + " s";
    }
    return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " s";
}

} // namespace quorvane::ui
