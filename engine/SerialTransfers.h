// The transfers over the serial line, each run to its end or to the first thing that stops it.
#pragma once

#include "engine/EngineHost.h"
#include "engine/LineReader.h"
#include "engine/LoadPlan.h"
#include "engine/MonitorDialogue.h"
#include "engine/SerialSendOperation.h"

#include <string>

namespace quorvane::engine {

struct SerialOutcome {
    SerialEnd end = SerialEnd::Completed;
    std::string message; // for everything but Completed, Stopped and Abandoned: what happened, for the user
};

// Stores every word of the plan through the memory command; the progress counts the words the monitor confirmed.
SerialOutcome loadThroughMonitor(MonitorDialogue &monitor, SerialLink &link, EngineHost &host, const LoadPlan &plan);
// Reads every word of the plan back and compares; Completed with "verified: N words" as its message.
SerialOutcome verifyThroughMonitor(MonitorDialogue &monitor, SerialLink &link, EngineHost &host, const LoadPlan &plan);
// The loader and text transfers: every character of every line as itself, CR between lines.
SerialOutcome sendLinesOverSerial(SerialLink &link, EngineHost &host, LineReader &file, bool loader);

// The message for an answer that ended a monitor exchange; `where` names the word or line.
SerialOutcome monitorFailure(MonitorAnswer answer, int errorCode, SerialLink &link, const std::string &where);

} // namespace quorvane::engine
