// Port names, device paths, descriptions and the open failure's sentence; plain text work, no system call.
#include "platform/win32/Win32SerialNames.h"

#include <windows.h>

#include <vector>

namespace quorvane::platform::win32 {

namespace {

char upper(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; }

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (upper(text[i]) != upper(prefix[i])) {
            return false;
        }
    }
    return true;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

// Windows makes up an instance part with '&' in it for a device that has no serial number of its own.
std::string serialNumber(std::string_view instanceId) {
    const std::vector<std::string_view> parts = split(instanceId, '\\');
    if (parts.size() != 3) {
        return {};
    }
    if (startsWithNoCase(parts[0], "USB") && parts[0].size() == 3) {
        return parts[2].find('&') == std::string_view::npos ? std::string(parts[2]) : std::string();
    }
    // FTDI's bus driver writes VID+PID+serial, with the letter of the chip's port after the serial number.
    if (startsWithNoCase(parts[0], "FTDIBUS")) {
        const std::vector<std::string_view> ids = split(parts[1], '+');
        if (ids.size() == 3 && ids[2].size() > 1) {
            return std::string(ids[2].substr(0, ids[2].size() - 1));
        }
    }
    return {};
}

std::string withoutPortSuffix(std::string_view friendlyName, std::string_view portName) {
    const std::string suffix = " (" + std::string(portName) + ")";
    if (friendlyName.size() > suffix.size() && friendlyName.substr(friendlyName.size() - suffix.size()) == suffix) {
        friendlyName.remove_suffix(suffix.size());
    }
    return std::string(friendlyName);
}

} // namespace

std::string serialDevicePath(std::string_view name) {
    if (startsWithNoCase(name, "\\\\.\\")) {
        return std::string(name);
    }
    return "\\\\.\\" + std::string(name);
}

std::string serialPortKey(std::string_view name) {
    if (startsWithNoCase(name, "\\\\.\\")) {
        name.remove_prefix(4);
    }
    std::string key;
    for (const char ch : name) {
        key += upper(ch);
    }
    return key;
}

std::optional<unsigned> comPortNumber(std::string_view name) {
    if (!startsWithNoCase(name, "COM") || name.size() == 3 || name.size() > 6) {
        return std::nullopt;
    }
    unsigned number = 0;
    for (const char digit : name.substr(3)) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        number = number * 10 + static_cast<unsigned>(digit - '0');
    }
    return number;
}

std::string serialOpenFailure(std::string_view name, unsigned long errorCode, std::string_view systemText) {
    const std::string start = "The serial port \"" + std::string(name) + "\" ";
    switch (errorCode) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
        return start + "does not exist.";
    // Windows opens a communications port for one program at a time; it does not say which one holds it.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return start + "is in use by another program. Nothing was sent.";
    default:
        break;
    }
    const std::string reason =
        systemText.empty() ? "system error " + std::to_string(errorCode) : std::string(systemText);
    return start + "cannot be opened: " + reason + ".";
}

std::string serialPortDescription(std::string_view friendlyName, std::string_view maker, std::string_view instanceId,
                                  std::string_view portName) {
    std::string description = withoutPortSuffix(friendlyName, portName);
    if (!maker.empty() && description.find(maker) == std::string::npos) {
        description += (description.empty() ? "" : ", ") + std::string(maker);
    }
    if (const std::string number = serialNumber(instanceId); !number.empty()) {
        description += (description.empty() ? "" : ", ") + std::string("serial number ") + number;
    }
    return description;
}

} // namespace quorvane::platform::win32
