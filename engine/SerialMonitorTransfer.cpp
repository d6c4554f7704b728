// Object code and hex dumps through the memory command over the serial line, and the read-back that checks them.
#include "engine/SerialTransfers.h"

#include <cstdio>

namespace quorvane::engine {

namespace {

constexpr std::size_t kMismatchesShown = 8;

std::string hex4(std::uint16_t word) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(word));
    return text;
}

std::uint16_t addressOf(const LoadRun &run, std::size_t index) {
    return static_cast<std::uint16_t>(run.address + 2 * index);
}

std::string wordPlace(const LoadRun &run, std::size_t index) {
    std::string place = "the word for address " + hex4(addressOf(run, index));
    if (index < run.lines.size()) {
        place += " (line " + std::to_string(run.lines[index]) + " of the file)";
    }
    return place;
}

// The monitor shows the address it opened; any other means the command did not reach it as sent.
std::optional<SerialOutcome> openRun(MonitorDialogue &monitor, SerialLink &link, const LoadRun &run) {
    const MonitorAnswer opened = monitor.openMemory(run.address);
    if (opened != MonitorAnswer::Done) {
        return monitorFailure(opened, monitor.errorCode(), link, "the memory command for " + hex4(run.address));
    }
    if (monitor.step().address != run.address) {
        return SerialOutcome{SerialEnd::BoardError, "The monitor opened address " + hex4(monitor.step().address) +
                                                        " instead of " + hex4(run.address) +
                                                        ". The transfer has ended."};
    }
    return std::nullopt;
}

std::string mismatchReport(const std::vector<std::string> &shown, std::size_t count, std::size_t total) {
    std::string text = "Verification failed: " + std::to_string(count) + " of " + std::to_string(total) +
                       " words differ from the file. ";
    for (std::size_t i = 0; i < shown.size(); ++i) {
        text += (i == 0 ? "" : "; ") + shown[i];
    }
    if (count > shown.size()) {
        text += "; and " + std::to_string(count - shown.size()) + " more";
    }
    return text + ".";
}

} // namespace

SerialOutcome monitorFailure(MonitorAnswer answer, int errorCode, SerialLink &link, const std::string &where) {
    const std::string sent = " Sent last: \"" + link.lastSent() + "\"; received last: \"" + link.lastReceived() + "\".";
    switch (answer) {
    case MonitorAnswer::BoardError:
        return {SerialEnd::BoardError, "The board answered ERROR " + std::to_string(errorCode) + " (" +
                                           monitorErrorMeaning(errorCode) + ") at " + where +
                                           ". The transfer has ended."};
    case MonitorAnswer::NoAnswer: {
        char seconds[16];
        std::snprintf(seconds, sizeof seconds, "%.1f", static_cast<double>(link.answerTimeout().count()) / 1000.0);
        return {SerialEnd::NoAnswer, "The board stopped answering at " + where + ": nothing came back for " + seconds +
                                         " s." + sent + " The transfer has ended."};
    }
    case MonitorAnswer::LineFailed:
        return {SerialEnd::LineFailed, "The serial line failed at " + where + " (" + link.lineError() + ")." + sent +
                                           " The transfer has ended."};
    case MonitorAnswer::Abandoned:
    case MonitorAnswer::Done:
        break;
    }
    return {SerialEnd::Abandoned, {}};
}

// The stop check comes before each word, so a word once begun is sent whole and confirmed. After a stop nothing
// more is sent: the memory command stays open where the monitor is.
SerialOutcome loadThroughMonitor(MonitorDialogue &monitor, SerialLink &link, EngineHost &host, const LoadPlan &plan) {
    const std::size_t total = plan.wordCount();
    std::size_t confirmed = 0;
    host.progress(0, total);
    if (const MonitorAnswer ready = monitor.reachPrompt(); ready != MonitorAnswer::Done) {
        return monitorFailure(ready, monitor.errorCode(), link, "the start (waiting for the monitor's prompt)");
    }
    for (const LoadRun &run : plan.runs) {
        if (auto failed = openRun(monitor, link, run)) {
            return *failed;
        }
        for (std::size_t i = 0; i < run.words.size(); ++i) {
            if (!host.stopVisible()) {
                return {SerialEnd::Stopped, {}};
            }
            if (const MonitorAnswer stored = monitor.storeWord(run.words[i]); stored != MonitorAnswer::Done) {
                return monitorFailure(stored, monitor.errorCode(), link, wordPlace(run, i));
            }
            host.progress(++confirmed, total);
        }
        if (const MonitorAnswer left = monitor.leaveMemory(); left != MonitorAnswer::Done) {
            return monitorFailure(left, monitor.errorCode(), link, "the end of the memory command");
        }
    }
    return {SerialEnd::Completed, {}};
}

// A terminator alone moves the memory command on without storing, so reading back changes nothing.
SerialOutcome verifyThroughMonitor(MonitorDialogue &monitor, SerialLink &link, EngineHost &host, const LoadPlan &plan) {
    const std::size_t total = plan.wordCount();
    std::vector<std::string> shown;
    std::size_t mismatches = 0;
    std::size_t checked = 0;
    if (const MonitorAnswer ready = monitor.reachPrompt(); ready != MonitorAnswer::Done) {
        return monitorFailure(ready, monitor.errorCode(), link, "the start of the read-back");
    }
    for (const LoadRun &run : plan.runs) {
        if (auto failed = openRun(monitor, link, run)) {
            return *failed;
        }
        for (std::size_t i = 0; i < run.words.size(); ++i) {
            if (!host.stopVisible()) {
                return {SerialEnd::Stopped, {}};
            }
            if (monitor.step().contents != run.words[i] && ++mismatches <= kMismatchesShown) {
                shown.push_back(hex4(addressOf(run, i)) + " expected " + hex4(run.words[i]) + " found " +
                                hex4(monitor.step().contents));
            }
            host.progress(++checked, total);
            const MonitorAnswer moved = i + 1 < run.words.size() ? monitor.nextWord() : monitor.leaveMemory();
            if (moved != MonitorAnswer::Done) {
                return monitorFailure(moved, monitor.errorCode(), link, "the read-back of " + wordPlace(run, i));
            }
        }
    }
    if (mismatches > 0) {
        return {SerialEnd::Mismatch, mismatchReport(shown, mismatches, total)};
    }
    return {SerialEnd::Completed, "verified: " + std::to_string(total) + " words"};
}

} // namespace quorvane::engine
