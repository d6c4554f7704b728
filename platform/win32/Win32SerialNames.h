// The words around a Windows serial port: the device path a name opens, the sentence for a port that cannot be
// opened, and a port's description from what Windows records about its device.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane::platform::win32 {

// "COM3", "com12" or "\\.\COM3" as the path CreateFileW needs: "\\.\COM3" (ports above COM9 exist only so).
std::string serialDevicePath(std::string_view name);

// The port's name without the device prefix, in upper case: "\\.\com3" and "COM3" are both "COM3".
std::string serialPortKey(std::string_view name);

// The sentence for a failed open of `name`, from the system's error code and its own text for it (no full stop).
std::string serialOpenFailure(std::string_view name, unsigned long errorCode, std::string_view systemText);

// 3 for "COM3" in any letter case; nothing for anything else (LPT1, a name with more after the digits).
std::optional<unsigned> comPortNumber(std::string_view name);

// The friendly name without the port that Windows appends ("USB Serial Port (COM3)"), the maker unless the
// name already says it, and the serial number that a USB device instance carries
// ("FTDIBUS\VID_0403+PID_6001+A600XYZA\0000" or "USB\VID_067B&PID_2303\5&2A3B&0&1" has none).
std::string serialPortDescription(std::string_view friendlyName, std::string_view maker, std::string_view instanceId,
                                  std::string_view portName);

} // namespace quorvane::platform::win32
