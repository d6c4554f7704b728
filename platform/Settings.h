// The per-user settings store, addressed by application, section and key.
#pragma once

#include <string>
#include <string_view>

namespace quorvane::platform {

class Settings {
public:
    virtual ~Settings() = default;
    // The stored value, or the empty string when there is none or the store cannot be read.
    virtual std::string read(std::string_view app, std::string_view section, std::string_view key) = 0;
    // Creates or replaces the value; false when the store reports that it could not be written.
    virtual bool write(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view value) = 0;
};

} // namespace quorvane::platform
