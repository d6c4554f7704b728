// The serial ports on the Win32 communications API, for the Windows programs.
#pragma once

#include "platform/SerialLine.h"

namespace quorvane::platform::win32 {

// Blocking ReadFile and WriteFile with COMMTIMEOUTS: a read returns as soon as a byte is there, which fits the
// engine's short waits on one thread.
class Win32SerialPorts : public SerialPorts {
public:
    std::vector<SerialPortInfo> list() override;
    std::unique_ptr<SerialLine> open(std::string_view name, unsigned baud, std::string &error) override;
};

} // namespace quorvane::platform::win32
