// The serial port's words: the device path a name opens, the sentence for each way an open fails, the COM number,
// and the description made from what Device Manager records; and a port that is not there, opened for real.
#include "platform/win32/Win32SerialPorts.h"
#include "platform/win32/Win32SerialNames.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace quorvane::platform::win32 {
namespace {

TEST(Win32SerialNames, DevicePathReachesPortsAboveNine) {
    const struct {
        const char *name;
        const char *path;
    } cases[] = {
        {"COM3", "\\\\.\\COM3"},
        {"com12", "\\\\.\\com12"},
        {"\\\\.\\COM3", "\\\\.\\COM3"},
        {"\\\\.\\com200", "\\\\.\\com200"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(serialDevicePath(c.name), c.path) << c.name;
    }
}

TEST(Win32SerialNames, OnePortOneKeyHoweverItIsWritten) {
    for (const char *name : {"COM3", "com3", "\\\\.\\COM3", "\\\\.\\cOm3"}) {
        EXPECT_EQ(serialPortKey(name), "COM3") << name;
    }
    EXPECT_NE(serialPortKey("COM31"), serialPortKey("COM3"));
}

TEST(Win32SerialNames, ComNumberOnlyForComPorts) {
    const struct {
        const char *name;
        std::optional<unsigned> number;
    } cases[] = {
        {"COM1", 1u},           {"com12", 12u},          {"COM256", 256u},       {"COM", std::nullopt},
        {"LPT1", std::nullopt}, {"COM3x", std::nullopt}, {"COMX", std::nullopt}, {"", std::nullopt},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(comPortNumber(c.name), c.number) << c.name;
    }
}

TEST(Win32SerialNames, OpenFailureSaysWhyPlainly) {
    const struct {
        unsigned long code;
        const char *systemText;
        const char *sentence;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, "x", "The serial port \"COM7\" does not exist."},
        {ERROR_PATH_NOT_FOUND, "x", "The serial port \"COM7\" does not exist."},
        {ERROR_ACCESS_DENIED, "x", "The serial port \"COM7\" is in use by another program. Nothing was sent."},
        {ERROR_SHARING_VIOLATION, "x", "The serial port \"COM7\" is in use by another program. Nothing was sent."},
        {ERROR_GEN_FAILURE, "A device attached to the system is not functioning",
         "The serial port \"COM7\" cannot be opened: A device attached to the system is not functioning."},
        {ERROR_GEN_FAILURE, "", "The serial port \"COM7\" cannot be opened: system error 31."},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(serialOpenFailure("COM7", c.code, c.systemText), c.sentence) << c.code;
    }
}

TEST(Win32SerialNames, DescriptionFromDeviceManager) {
    const struct {
        const char *friendly;
        const char *maker;
        const char *instance;
        const char *description;
    } cases[] = {
        {"USB Serial Port (COM3)", "FTDI", "FTDIBUS\\VID_0403+PID_6001+A600XYZAA\\0000",
         "USB Serial Port, FTDI, serial number A600XYZA"},
        {"Prolific USB-to-Serial Comm Port (COM3)", "Prolific", "USB\\VID_067B&PID_2303\\5&2A3B8C&0&1",
         "Prolific USB-to-Serial Comm Port"},
        {"USB-SERIAL CH340 (COM3)", "wch.cn", "USB\\VID_1A86&PID_7523\\7&1B2C&0&2", "USB-SERIAL CH340, wch.cn"},
        {"Silicon Labs CP210x USB to UART Bridge (COM3)", "Silicon Labs", "USB\\VID_10C4&PID_EA60\\0001",
         "Silicon Labs CP210x USB to UART Bridge, serial number 0001"},
        {"Communications Port (COM3)", "(Standard port types)", "ACPI\\PNP0501\\0",
         "Communications Port, (Standard port types)"},
        {"Serial port on COM3 of another device", "", "", "Serial port on COM3 of another device"},
        {"", "", "", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(serialPortDescription(c.friendly, c.maker, c.instance, "COM3"), c.description) << c.friendly;
    }
}

TEST(Win32SerialPorts, PortThatIsNotThereOpensNothing) {
    Win32SerialPorts ports;
    std::string error;
    EXPECT_EQ(ports.open("COM97", 9600, error), nullptr);
    EXPECT_EQ(error, "The serial port \"COM97\" does not exist.");
}

} // namespace
} // namespace quorvane::platform::win32
