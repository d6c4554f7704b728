// Private temporary folders for tests and benchmarks, and small file helpers that go with them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::test {

// Creates a new folder <temporary folder>/<prefix><random number>; empty on failure.
std::string makeTempDir(const std::string &prefix);
void removeTree(const std::string &path);
bool writeFile(const std::string &path, const std::string &content);
std::optional<std::string> readFile(const std::string &path);
bool fileExists(const std::string &path);

// A folder of its own for one test or benchmark, removed with everything in it at the end.
class TempFolder {
public:
    explicit TempFolder(const std::string &prefix) : m_path(makeTempDir(prefix)) {}
    ~TempFolder() { removeTree(m_path.string()); }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    // Writes `bytes` to the file `name` in the folder; returns its path.
    std::filesystem::path write(const std::string &name, std::string_view bytes) const;

private:
    std::filesystem::path m_path;
};

} // namespace quorvane::test
