// The test folder and its two registry values, "Default Drive" and "Default Folder".
#include "DefaultFolder.h"

#include <windows.h>

#include <cstdio>
#include <fstream>

namespace quorvane::ui::win32::test {
namespace {

constexpr wchar_t kDefaultsKey[] = L"Software\\Quorvane\\Defaults";

LSTATUS store(HKEY key, const wchar_t *name, const std::wstring &value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

} // namespace

DefaultFolder::DefaultFolder(const std::string &tag) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_root = std::filesystem::path(temp) / ("quorvane-" + tag + "-" + std::to_string(GetCurrentProcessId()));
    m_files = m_root / "files";
    std::filesystem::create_directories(m_files);
    HKEY key = nullptr;
    const LSTATUS created =
        RegCreateKeyExW(HKEY_CURRENT_USER, kDefaultsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (created != ERROR_SUCCESS) {
        // The test then fails where the window shows another folder; this says why.
        std::fprintf(stderr, "DefaultFolder: the registry key was not created (error %ld)\n", created);
        return;
    }
    const LSTATUS drive = store(key, L"Default Drive", m_files.wstring().substr(0, 2));
    const LSTATUS folder = store(key, L"Default Folder", m_files.wstring());
    RegCloseKey(key);
    if (drive != ERROR_SUCCESS || folder != ERROR_SUCCESS) {
        std::fprintf(stderr, "DefaultFolder: the registry values were not stored (errors %ld, %ld)\n", drive, folder);
    }
}

DefaultFolder::~DefaultFolder() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quorvane");
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

void DefaultFolder::write(const std::string &name, std::string_view bytes) const {
    std::ofstream(m_files / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace quorvane::ui::win32::test
