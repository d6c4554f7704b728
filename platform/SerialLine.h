// A serial line to the board: bytes out, bytes in within a time limit, and the ports the system knows.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::platform {

struct SerialPortInfo {
    std::string name;        // what open() takes: /dev/ttyUSB0, COM3
    std::string description; // adapter, maker and serial number where the system knows them; may be empty
};

class SerialLine {
public:
    virtual ~SerialLine() = default;
    // Hands all of `bytes` to the system within `timeout`. False when the line failed (the port went away).
    virtual bool write(std::string_view bytes, std::chrono::milliseconds timeout) = 0;
    // Appends what has arrived to `into`, waiting up to `timeout` for the first byte; true with nothing appended
    // when the time ran out. False when the line failed.
    virtual bool read(std::string &into, std::chrono::milliseconds timeout) = 0;
    // Why the last write or read failed, as a sentence fragment.
    virtual std::string error() = 0;
};

class SerialPorts {
public:
    virtual ~SerialPorts() = default;
    virtual std::vector<SerialPortInfo> list() = 0;
    // Opens `name` at `baud`, 8 data bits, no parity, 1 stop bit, no flow control. On failure nothing has been
    // sent and `error` says why in one sentence; a port in use names the program that holds it when it is known.
    virtual std::unique_ptr<SerialLine> open(std::string_view name, unsigned baud, std::string &error) = 0;
};

} // namespace quorvane::platform
