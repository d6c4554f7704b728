// The serial ports on Qt Serial Port, for Linux.
#pragma once

#include "platform/SerialLine.h"

namespace quorvane::platform {

// QSerialPort's blocking waits need no running event loop, which fits the engine: it waits on the line in short
// slices and runs the window's events between them, all on one thread. A QCoreApplication must exist.
class QtSerialPorts : public SerialPorts {
public:
    std::vector<SerialPortInfo> list() override;
    std::unique_ptr<SerialLine> open(std::string_view name, unsigned baud, std::string &error) override;
};

} // namespace quorvane::platform
