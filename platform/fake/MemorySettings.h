// A settings store in memory, whose writes can be made to fail.
#pragma once

#include "platform/Settings.h"

#include <map>
#include <string>
#include <tuple>

namespace quorvane::platform {

class MemorySettings : public Settings {
public:
    std::string read(std::string_view app, std::string_view section, std::string_view key) override;
    bool write(std::string_view app, std::string_view section, std::string_view key, std::string_view value) override;

    // From now on every write is refused and changes nothing, as with a read-only configuration file.
    void refuseWrites(bool refuse) { m_refuseWrites = refuse; }
    std::size_t writes() const { return m_writes; }

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> m_values;
    bool m_refuseWrites = false;
    std::size_t m_writes = 0;
};

} // namespace quorvane::platform
