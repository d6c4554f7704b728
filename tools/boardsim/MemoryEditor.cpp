// The memory inspect/change loop: one word per step, stored when digits precede the terminator.
#include "MemoryEditor.h"

#include "HexDigit.h"

namespace quorvane::boardsim {

MemoryEditor::MemoryEditor(MemoryImage &memory, bool acceptLowerCase)
    : m_memory(memory), m_acceptLowerCase(acceptLowerCase) {}

void MemoryEditor::open(std::uint16_t address, std::string &out) {
    moveTo(address);
    showStep(out);
}

void MemoryEditor::moveTo(std::uint16_t address) { m_address = static_cast<std::uint16_t>(address & 0xFFFE); }

MemoryEditor::Step MemoryEditor::handle(std::uint8_t byte, std::string &out) {
    if (auto digit = hexDigitValue(byte, m_acceptLowerCase)) {
        m_field = shiftDigit(m_field, *digit);
        m_hasDigits = true;
        out += static_cast<char>(byte);
        return Step::Continue;
    }
    if (byte == ' ' || byte == ',' || byte == '-') {
        storeField();
        out += static_cast<char>(byte);
        m_address = static_cast<std::uint16_t>(byte == '-' ? m_address - 2 : m_address + 2);
        showStep(out);
        return Step::Continue;
    }
    if (byte == '\r') {
        storeField();
        return Step::Leave;
    }
    // A half-typed field is dropped with the error: only a terminator stores.
    m_hasDigits = false;
    m_field = 0;
    return Step::Error;
}

void MemoryEditor::showStep(std::string &out) const {
    out += "\r\n";
    out += hex4(m_address);
    out += '=';
    out += hex4(m_memory.read(m_address));
    out += ' ';
}

void MemoryEditor::storeField() {
    if (m_hasDigits) {
        m_memory.write(m_address, m_field);
    }
    m_hasDigits = false;
    m_field = 0;
}

} // namespace quorvane::boardsim
