// One ordered record of what the fakes saw: keystrokes, waits, messages, activations, STOP! changes.
#pragma once

#include <string>
#include <vector>

namespace quorvane::platform {

class Transcript {
public:
    void add(std::string entry) { m_entries.push_back(std::move(entry)); }
    std::vector<std::string> &entries() { return m_entries; }
    const std::vector<std::string> &entries() const { return m_entries; }
    void clear() { m_entries.clear(); }

private:
    std::vector<std::string> m_entries;
};

} // namespace quorvane::platform
