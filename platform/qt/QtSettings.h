// The settings store on QSettings: a per-user configuration file on Linux, the registry on Windows.
#pragma once

#include "platform/Settings.h"

namespace quorvane::platform {

// The application name is the QSettings organisation and application; the section is a group.
class QtSettings : public Settings {
public:
    std::string read(std::string_view app, std::string_view section, std::string_view key) override;
    // Written through at once and read back; false when the value did not arrive (a read-only file, say).
    bool write(std::string_view app, std::string_view section, std::string_view key, std::string_view value) override;
};

} // namespace quorvane::platform
