// The monitor's prompt and memory command over the serial line, each step confirmed by what the monitor prints.
#pragma once

#include "engine/SerialLink.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::engine {

enum class MonitorAnswer { Done, BoardError, NoAnswer, LineFailed, Abandoned };

// One step of the memory command as the monitor printed it: CR LF, "ADDR=CONT ".
struct MemoryStep {
    std::uint16_t address = 0;
    std::uint16_t contents = 0;
};

class MonitorDialogue {
public:
    MonitorDialogue(SerialLink &link, bool tibug) : m_link(link), m_tibug(tibug) {}

    // Leaves whatever the monitor is in with a CR and waits for its prompt. At EVMBUG's prompt the CR gives an
    // ERROR 4 first, which does no harm.
    MonitorAnswer reachPrompt();
    // From the prompt: the memory command at `address`, until its first step.
    MonitorAnswer openMemory(std::uint16_t address);
    // Stores `word` at the step shown and waits for the next step.
    MonitorAnswer storeWord(std::uint16_t word);
    // A terminator alone: moves to the next word and stores nothing.
    MonitorAnswer nextWord();
    // CR: leaves the memory command and waits for the prompt.
    MonitorAnswer leaveMemory();

    const MemoryStep &step() const { return m_step; }
    // The n of the monitor's "ERROR n" after BoardError.
    int errorCode() const { return m_errorCode; }

private:
    MonitorAnswer sendPaced(std::string_view bytes);
    MonitorAnswer waitForStep();
    MonitorAnswer waitForPrompt(bool errorsAllowed);
    MonitorAnswer answer(LinkWait wait);
    bool sawError(std::string_view text);

    SerialLink &m_link;
    bool m_tibug;
    MemoryStep m_step;
    int m_errorCode = -1;
};

// "ERROR n" anywhere in `text`: n, else nothing.
std::optional<int> monitorError(std::string_view text);
// The step at the very end of `text`, when it ends with one.
std::optional<MemoryStep> trailingStep(std::string_view text);
// The monitor's words for its error codes.
std::string monitorErrorMeaning(int code);

} // namespace quorvane::engine
