// The serial ports Windows knows: the Ports device class through SetupAPI (with the names Device Manager shows),
// and the registry's HARDWARE\DEVICEMAP\SERIALCOMM for ports whose driver is not in that class.
#include "platform/win32/Win32SerialNames.h"
#include "platform/win32/Win32SerialPorts.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <setupapi.h>

#include <algorithm>

namespace quorvane::platform::win32 {

namespace {

// GUID_DEVCLASS_PORTS (devguid.h), spelled out so that no translation unit has to instantiate the GUID.
constexpr GUID kPortsClass = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

std::wstring deviceProperty(HDEVINFO devices, SP_DEVINFO_DATA &device, DWORD property) {
    wchar_t buffer[512] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(devices, &device, property, nullptr, reinterpret_cast<BYTE *>(buffer),
                                           sizeof buffer - sizeof(wchar_t), nullptr)) {
        return {};
    }
    return buffer;
}

std::wstring registryString(HKEY key, const wchar_t *name) {
    wchar_t buffer[256] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return {};
    }
    return buffer;
}

void addClassPorts(std::vector<SerialPortInfo> &ports) {
    const HDEVINFO devices = SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) {
        return;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        const HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) {
            continue;
        }
        const std::string name = toUtf8(registryString(key, L"PortName"));
        RegCloseKey(key);
        if (!comPortNumber(name)) {
            continue; // a printer port (LPT1) shares the class
        }
        wchar_t instance[512] = {};
        SetupDiGetDeviceInstanceIdW(devices, &device, instance, 511, nullptr);
        ports.push_back(
            {name, serialPortDescription(toUtf8(deviceProperty(devices, device, SPDRP_FRIENDLYNAME)),
                                         toUtf8(deviceProperty(devices, device, SPDRP_MFG)), toUtf8(instance), name)});
    }
    SetupDiDestroyDeviceInfoList(devices);
}

void addRegistryPorts(std::vector<SerialPortInfo> &ports) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD nameLength = 256;
        wchar_t data[64] = {};
        DWORD dataSize = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LSTATUS status = RegEnumValueW(key, index, valueName, &nameLength, nullptr, &type,
                                             reinterpret_cast<BYTE *>(data), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (status != ERROR_SUCCESS || type != REG_SZ) {
            continue;
        }
        const std::string name = toUtf8(data);
        const bool known = std::any_of(ports.begin(), ports.end(), [&](const SerialPortInfo &port) {
            return comPortNumber(port.name) == comPortNumber(name);
        });
        if (comPortNumber(name) && !known) {
            ports.push_back({name, {}});
        }
    }
    RegCloseKey(key);
}

} // namespace

std::vector<SerialPortInfo> Win32SerialPorts::list() {
    std::vector<SerialPortInfo> ports;
    addClassPorts(ports);
    addRegistryPorts(ports);
    std::sort(ports.begin(), ports.end(), [](const SerialPortInfo &a, const SerialPortInfo &b) {
        return comPortNumber(a.name) < comPortNumber(b.name);
    });
    return ports;
}

} // namespace quorvane::platform::win32
