// The monitor's command level for both ROMs; the memory loop and the loader do the rest.
#include "Monitor.h"

#include "HexDigit.h"

namespace quorvane::boardsim {

namespace {

constexpr std::size_t kMaxCommandLetters = 3;
constexpr std::uint16_t kDumpWordsPerLine = 8;

bool isTerminator(std::uint8_t byte) { return byte == '\r' || byte == ' ' || byte == ','; }

std::uint8_t upper(std::uint8_t byte) {
    return byte >= 'a' && byte <= 'z' ? static_cast<std::uint8_t>(byte - 'a' + 'A') : byte;
}

} // namespace

Monitor::Monitor(MemoryImage &memory, const MonitorConfig &config)
    : m_memory(memory), m_config(config), m_editor(memory, config.revised), m_loader(memory, config.loadBias) {}

void Monitor::start(std::string &out) {
    switch (m_config.start) {
    case StartMode::Prompt:
        showPrompt(out);
        break;
    case StartMode::Memory:
        m_editor.open(m_config.startAddress, out);
        m_state = State::Memory;
        break;
    case StartMode::Loader:
        m_loader.reset();
        m_state = State::Loader;
        break;
    case StartMode::Text:
        m_state = State::Text;
        break;
    }
}

void Monitor::resume(std::string &out) {
    if (m_state == State::Opening) {
        m_editor.showStep(out);
        m_state = State::Memory;
    } else {
        showPrompt(out);
    }
}

void Monitor::showPrompt(std::string &out) {
    out += m_config.kind == MonitorKind::Evmbug ? "\r\nMON? " : "\r\n?";
    m_state = State::Command;
    m_command.clear();
}

bool Monitor::handle(std::uint8_t byte, std::string &out) {
    switch (m_state) {
    case State::Command:
        return m_config.kind == MonitorKind::Evmbug ? handleEvmbugCommand(byte, out) : handleTibugCommand(byte, out);
    case State::Address:
        return handleAddress(byte, out);
    case State::StopAddress:
        return handleStopAddress(byte, out);
    case State::Memory:
        return handleMemory(byte, out);
    case State::Loader:
        return handleLoader(byte, out);
    case State::Text:
        out += byte == '\r' ? std::string("\r\n") : std::string(1, static_cast<char>(byte));
        return false;
    case State::Reentry:
    case State::Opening:
        break;
    }
    return false;
}

// EVMBUG reads 1-3 letters, each echoed, ended by CR, space or comma; only IM is simulated.
bool Monitor::handleEvmbugCommand(std::uint8_t byte, std::string &out) {
    std::uint8_t letter = m_config.revised ? upper(byte) : byte;
    if (letter >= 'A' && letter <= 'Z' && m_command.size() < kMaxCommandLetters) {
        m_command += static_cast<char>(letter);
        out += static_cast<char>(byte);
        return false;
    }
    if (!isTerminator(byte) || m_command != "IM") {
        return error(4, out);
    }
    if (byte != '\r') {
        out += static_cast<char>(byte);
    }
    m_field = 0;
    m_state = State::Address;
    return false;
}

// TIBUG reads the letter without echo and echoes it with a space once it knows the command.
bool Monitor::handleTibugCommand(std::uint8_t byte, std::string &out) {
    if (byte == '\r') {
        return reenter();
    }
    std::uint8_t letter = m_config.revised ? upper(byte) : byte;
    if (letter != 'M') {
        return error(4, out);
    }
    out += "M ";
    m_field = 0;
    m_state = State::Address;
    return false;
}

bool Monitor::collectDigit(std::uint8_t byte, std::string &out) {
    auto digit = hexDigitValue(byte, m_config.revised);
    if (!digit) {
        return false;
    }
    m_field = shiftDigit(m_field, *digit);
    out += static_cast<char>(byte);
    return true;
}

// EVMBUG opens the loop on any terminator; TIBUG's space or comma starts a second field, the dump's end.
bool Monitor::handleAddress(std::uint8_t byte, std::string &out) {
    if (collectDigit(byte, out)) {
        return false;
    }
    if (!isTerminator(byte)) {
        return error(2, out);
    }
    if (m_config.kind == MonitorKind::Evmbug || byte == '\r') {
        return openMemory(m_field, out);
    }
    out += static_cast<char>(byte);
    m_firstField = m_field;
    m_field = 0;
    m_state = State::StopAddress;
    return false;
}

bool Monitor::handleStopAddress(std::uint8_t byte, std::string &out) {
    if (collectDigit(byte, out)) {
        return false;
    }
    if (!isTerminator(byte)) {
        return error(2, out);
    }
    if (m_field < m_firstField) {
        return error(3, out);
    }
    dump(m_firstField, m_field, out);
    return reenter();
}

void Monitor::dump(std::uint16_t from, std::uint16_t to, std::string &out) const {
    std::uint32_t address = from & 0xFFFEu;
    for (std::uint16_t column = 0; address <= to; address += 2, ++column) {
        if (column % kDumpWordsPerLine == 0) {
            out += "\r\n";
            out += hex4(static_cast<std::uint16_t>(address));
            out += '=';
        }
        out += ' ';
        out += hex4(m_memory.read(static_cast<std::uint16_t>(address)));
    }
}

bool Monitor::openMemory(std::uint16_t address, std::string &out) {
    if (m_config.pauseOnOpen) {
        m_editor.moveTo(address);
        m_state = State::Opening;
        return true;
    }
    m_editor.open(address, out);
    m_state = State::Memory;
    return false;
}

bool Monitor::handleMemory(std::uint8_t byte, std::string &out) {
    switch (m_editor.handle(byte, out)) {
    case MemoryEditor::Step::Continue:
        return false;
    case MemoryEditor::Step::Leave:
        return reenter();
    case MemoryEditor::Step::Error:
        break;
    }
    return error(2, out);
}

bool Monitor::handleLoader(std::uint8_t byte, std::string &out) {
    if (byte == '\r') {
        out += "\r\n";
    } else if (byte != '\n') {
        out += static_cast<char>(byte);
    }
    switch (m_loader.handle(byte)) {
    case ObjectLoader::Step::Continue:
        return false;
    case ObjectLoader::Step::End:
        return reenter();
    case ObjectLoader::Step::BadTag:
        return error(0, out);
    case ObjectLoader::Step::BadChecksum:
        break;
    }
    return error(1, out);
}

bool Monitor::error(int code, std::string &out) {
    ++m_errors;
    out += "\r\nERROR ";
    out += static_cast<char>('0' + code);
    return reenter();
}

bool Monitor::reenter() {
    m_state = State::Reentry;
    return true;
}

} // namespace quorvane::boardsim
