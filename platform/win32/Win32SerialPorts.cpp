// Opening and using a serial port with CreateFileW, the DCB, COMMTIMEOUTS, ReadFile and WriteFile.
#include "platform/win32/Win32SerialPorts.h"

#include "platform/win32/Win32SerialNames.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

namespace quorvane::platform::win32 {

namespace {

std::string systemText(DWORD code) {
    wchar_t *buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::string text = length > 0 ? toUtf8(std::wstring_view(buffer, length)) : std::string();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.' || text.back() == ' ')) {
        text.pop_back();
    }
    return text.empty() ? "system error " + std::to_string(code) : text;
}

class Win32SerialLine : public SerialLine {
public:
    Win32SerialLine(HANDLE port, HANDLE claim) : m_port(port), m_claim(claim) {}
    ~Win32SerialLine() override {
        CloseHandle(m_port);
        if (m_claim != nullptr) {
            CloseHandle(m_claim);
        }
    }
    Win32SerialLine(const Win32SerialLine &) = delete;
    Win32SerialLine &operator=(const Win32SerialLine &) = delete;

    bool write(std::string_view bytes, std::chrono::milliseconds timeout) override {
        COMMTIMEOUTS timeouts = m_timeouts;
        timeouts.WriteTotalTimeoutMultiplier = 0;
        timeouts.WriteTotalTimeoutConstant = clamp(timeout);
        if (!setTimeouts(timeouts)) {
            return false;
        }
        while (!bytes.empty()) {
            DWORD written = 0;
            if (!WriteFile(m_port, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
                return failed(GetLastError());
            }
            if (written == 0) {
                m_error = "the board took nothing for " + std::to_string(timeout.count()) + " ms (write timed out)";
                return false;
            }
            bytes.remove_prefix(written);
        }
        return true;
    }

    // MAXDWORD, MAXDWORD and a constant: ReadFile returns at once with what has arrived, else with the first
    // byte to come, else empty after the constant.
    bool read(std::string &into, std::chrono::milliseconds timeout) override {
        COMMTIMEOUTS timeouts = m_timeouts;
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutMultiplier = timeout.count() > 0 ? MAXDWORD : 0;
        timeouts.ReadTotalTimeoutConstant = clamp(timeout);
        if (!setTimeouts(timeouts)) {
            return false;
        }
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(m_port, buffer, sizeof buffer, &got, nullptr)) {
            return failed(GetLastError());
        }
        into.append(buffer, got);
        return true;
    }

    std::string error() override { return m_error; }

    bool configure(unsigned baud, std::string &error) {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(m_port, &dcb)) {
            error = systemText(GetLastError());
            return false;
        }
        dcb.BaudRate = baud;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fNull = FALSE;
        dcb.fAbortOnError = FALSE;
        // DTR and RTS held on, as terminal programs do: some adapters and boards wait for them.
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        if (!SetCommState(m_port, &dcb)) {
            error = systemText(GetLastError());
            return false;
        }
        return true;
    }

private:
    static DWORD clamp(std::chrono::milliseconds timeout) {
        const auto count = timeout.count();
        return count <= 0                                      ? 0
               : count >= static_cast<long long>(MAXDWORD - 1) ? MAXDWORD - 1
                                                               : static_cast<DWORD>(count);
    }

    // The engine waits in slices of the same length, so the driver is asked again only when a limit changes.
    bool setTimeouts(const COMMTIMEOUTS &timeouts) {
        if (m_timeoutsSet && timeouts.ReadIntervalTimeout == m_timeouts.ReadIntervalTimeout &&
            timeouts.ReadTotalTimeoutMultiplier == m_timeouts.ReadTotalTimeoutMultiplier &&
            timeouts.ReadTotalTimeoutConstant == m_timeouts.ReadTotalTimeoutConstant &&
            timeouts.WriteTotalTimeoutMultiplier == m_timeouts.WriteTotalTimeoutMultiplier &&
            timeouts.WriteTotalTimeoutConstant == m_timeouts.WriteTotalTimeoutConstant) {
            return true;
        }
        COMMTIMEOUTS wanted = timeouts;
        if (!SetCommTimeouts(m_port, &wanted)) {
            return failed(GetLastError());
        }
        m_timeouts = timeouts;
        m_timeoutsSet = true;
        return true;
    }

    bool failed(DWORD code) {
        m_error = systemText(code);
        return false;
    }

    HANDLE m_port;
    HANDLE m_claim;
    COMMTIMEOUTS m_timeouts{};
    bool m_timeoutsSet = false;
    std::string m_error;
};

// A named mutex per port marks it as held by a Quorvane transfer. Windows' own serial drivers open a port for one
// program only, but Wine (and some virtual port drivers) let a second open through, and two transfers on one line
// would spoil each other's words. False when another transfer holds the port; where no mutex can be made at all,
// `claim` stays null and the driver's own rule is all there is.
bool claimPort(std::string_view name, HANDLE &claim) {
    const std::wstring claimName = L"Local\\QuorvaneSerialPort-" + toWide(serialPortKey(name));
    claim = CreateMutexW(nullptr, FALSE, claimName.c_str());
    if (claim != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(claim);
        claim = nullptr;
        return false;
    }
    return true;
}

} // namespace

std::unique_ptr<SerialLine> Win32SerialPorts::open(std::string_view name, unsigned baud, std::string &error) {
    HANDLE claim = nullptr;
    if (!claimPort(name, claim)) {
        error = serialOpenFailure(name, ERROR_ACCESS_DENIED, {});
        return nullptr;
    }
    const std::wstring path = toWide(serialDevicePath(name));
    // No sharing: a second program that opens the port gets ERROR_ACCESS_DENIED and sends nothing.
    const HANDLE port = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (claim != nullptr) {
            CloseHandle(claim);
        }
        error = serialOpenFailure(name, code, systemText(code));
        return nullptr;
    }
    auto line = std::make_unique<Win32SerialLine>(port, claim);
    std::string reason;
    if (!line->configure(baud, reason)) {
        error = "The serial port \"" + std::string(name) + "\" does not take " + std::to_string(baud) +
                " baud, 8 data bits, no parity, 1 stop bit: " + reason + ".";
        return nullptr;
    }
    return line;
}

} // namespace quorvane::platform::win32
