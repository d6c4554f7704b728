// The in-memory settings store.
#include "platform/fake/MemorySettings.h"

namespace quorvane::platform {

std::string MemorySettings::read(std::string_view app, std::string_view section, std::string_view key) {
    const auto found = m_values.find({std::string(app), std::string(section), std::string(key)});
    return found == m_values.end() ? std::string() : found->second;
}

bool MemorySettings::write(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view value) {
    ++m_writes;
    if (m_refuseWrites) {
        return false;
    }
    m_values[{std::string(app), std::string(section), std::string(key)}] = std::string(value);
    return true;
}

} // namespace quorvane::platform
