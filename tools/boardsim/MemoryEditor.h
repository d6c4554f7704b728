// The monitors' memory inspect/change loop, shared by TIBUG's M and EVMBUG's IM.
#pragma once

#include "MemoryImage.h"

#include <cstdint>
#include <string>

namespace quorvane::boardsim {

class MemoryEditor {
public:
    enum class Step { Continue, Leave, Error };

    MemoryEditor(MemoryImage &memory, bool acceptLowerCase);

    // Opens the loop at the address (forced even) and appends the first step's text.
    void open(std::uint16_t address, std::string &out);
    // Opens the loop without showing the step yet, for a monitor that pauses first.
    void moveTo(std::uint16_t address);
    void showStep(std::string &out) const;
    // Handles one received character; Leave and Error both end the loop.
    Step handle(std::uint8_t byte, std::string &out);

private:
    void storeField();

    MemoryImage &m_memory;
    bool m_acceptLowerCase;
    std::uint16_t m_address = 0;
    std::uint16_t m_field = 0;
    bool m_hasDigits = false;
};

} // namespace quorvane::boardsim
