// The texts of a serial transfer's end.
#include "ui/SerialEnding.h"

#include "ui/TransferProgress.h"

namespace quorvane::ui {
namespace {

using engine::SerialEnd;

std::string counted(const SerialTransferOutcome &o) {
    const std::string figures = groupedNumber(o.done) + " of " + groupedNumber(o.total);
    if (!o.words) {
        return figures + " characters";
    }
    return figures + (o.readBack ? " words read back" : " words");
}

std::string sentLine(const SerialTransferOutcome &o) {
    std::string line = "Sent " + o.fileName + ": " + groupedNumber(o.total) + (o.words ? " words" : " characters") +
                       " in " + durationText(o.elapsed);
    return o.notes.empty() ? line : line + ", " + o.notes;
}

std::string stoppedLine(const SerialTransferOutcome &o) {
    if (o.words) {
        return "Stopped after " + counted(o);
    }
    return ui::stoppedLine(o.position);
}

} // namespace

std::optional<std::string> serialEndLine(const SerialTransferOutcome &o) {
    switch (o.end) {
    case SerialEnd::Completed:
        return sentLine(o);
    case SerialEnd::Stopped:
        return stoppedLine(o);
    case SerialEnd::NoAnswer:
        return "Board stopped answering after " + counted(o);
    case SerialEnd::LineFailed:
        return "Serial line failed after " + counted(o);
    case SerialEnd::BoardError:
        return "Board reported an error after " + counted(o);
    case SerialEnd::Mismatch:
        return "Sent " + o.fileName + ", but the board's memory differs from the file";
    case SerialEnd::PortUnavailable:
        return "Serial port not opened: nothing was sent";
    case SerialEnd::FileError:
        return o.fileName + " could not be read";
    case SerialEnd::MalformedFile:
    case SerialEnd::NothingSelected:
    case SerialEnd::AlreadyRunning:
    case SerialEnd::Abandoned:
        break;
    }
    return std::nullopt;
}

} // namespace quorvane::ui
