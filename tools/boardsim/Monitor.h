// The resident monitor, TIBUG or EVMBUG: prompt, commands, the memory loop, the loader and error codes.
#pragma once

#include "MemoryEditor.h"
#include "MemoryImage.h"
#include "ObjectLoader.h"

#include <cstdint>
#include <string>

namespace quorvane::boardsim {

enum class MonitorKind { Evmbug, Tibug };
enum class StartMode { Prompt, Memory, Loader, Text };

struct MonitorConfig {
    MonitorKind kind = MonitorKind::Evmbug;
    bool revised = false; // revised ROMs take lower-case hex digits and commands
    StartMode start = StartMode::Prompt;
    std::uint16_t startAddress = 0;
    std::uint16_t loadBias = 0;
    bool pauseOnOpen = false; // the delay loop also runs after the CR that opens the memory loop
};

class Monitor {
public:
    Monitor(MemoryImage &memory, const MonitorConfig &config);

    void start(std::string &out);
    // Handles one character. True when the monitor enters its delay loop (on its way back to the prompt,
    // or into the memory loop when pauseOnOpen is set): the caller lets the delay pass, then calls resume.
    bool handle(std::uint8_t byte, std::string &out);
    // Shows the prompt, or the first memory step after a pause on opening.
    void resume(std::string &out);
    unsigned errorCount() const { return m_errors; }

private:
    enum class State { Command, Address, StopAddress, Memory, Loader, Text, Reentry, Opening };

    bool handleEvmbugCommand(std::uint8_t byte, std::string &out);
    bool handleTibugCommand(std::uint8_t byte, std::string &out);
    bool handleAddress(std::uint8_t byte, std::string &out);
    bool handleStopAddress(std::uint8_t byte, std::string &out);
    bool handleMemory(std::uint8_t byte, std::string &out);
    bool handleLoader(std::uint8_t byte, std::string &out);
    bool collectDigit(std::uint8_t byte, std::string &out);
    bool openMemory(std::uint16_t address, std::string &out);
    void showPrompt(std::string &out);
    void dump(std::uint16_t from, std::uint16_t to, std::string &out) const;
    bool error(int code, std::string &out);
    bool reenter();

    MemoryImage &m_memory;
    MonitorConfig m_config;
    MemoryEditor m_editor;
    ObjectLoader m_loader;
    State m_state = State::Reentry;
    std::string m_command;
    std::uint16_t m_field = 0;
    std::uint16_t m_firstField = 0;
    unsigned m_errors = 0;
};

} // namespace quorvane::boardsim
