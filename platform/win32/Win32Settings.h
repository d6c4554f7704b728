// The per-user settings store in the registry: HKEY_CURRENT_USER\Software\<application>\<section>, one string
// value per key.
#pragma once

#include "platform/Settings.h"

namespace quorvane::platform::win32 {

class Win32Settings : public Settings {
public:
    std::string read(std::string_view app, std::string_view section, std::string_view key) override;
    bool write(std::string_view app, std::string_view section, std::string_view key, std::string_view value) override;
};

} // namespace quorvane::platform::win32
