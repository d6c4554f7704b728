// Registry reads and writes of the settings store; a value of the wrong type reads as absent.
#include "platform/win32/Win32Settings.h"

#include "platform/win32/Win32Text.h"

#include <windows.h>

namespace quorvane::platform::win32 {
namespace {

std::wstring keyPath(std::string_view app, std::string_view section) {
    return L"Software\\" + toWide(app) + L"\\" + toWide(section);
}

} // namespace

std::string Win32Settings::read(std::string_view app, std::string_view section, std::string_view key) {
    const std::wstring path = keyPath(app, section);
    const std::wstring name = toWide(key);
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS) {
        return {};
    }
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value.data(), &bytes) !=
        ERROR_SUCCESS) {
        return {};
    }
    value.resize(bytes / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0') {
        value.pop_back();
    }
    return toUtf8(value);
}

bool Win32Settings::write(std::string_view app, std::string_view section, std::string_view key,
                          std::string_view value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath(app, section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring name = toWide(key);
    const std::wstring text = toWide(value);
    const LSTATUS status = RegSetValueExW(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

} // namespace quorvane::platform::win32
