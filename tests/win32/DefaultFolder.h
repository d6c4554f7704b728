// A folder of test files that quorvane.exe opens at start: made under the temporary folder and stored as the
// default folder in the registry, both removed again at the end.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quorvane::ui::win32::test {

class DefaultFolder {
public:
    // `tag` tells the folders of different tests apart.
    explicit DefaultFolder(const std::string &tag);
    ~DefaultFolder();
    DefaultFolder(const DefaultFolder &) = delete;
    DefaultFolder &operator=(const DefaultFolder &) = delete;

    // The folder shown at start, which holds the files.
    const std::filesystem::path &files() const { return m_files; }
    // Beside the files, for logs and images that the file list must not show.
    const std::filesystem::path &scratch() const { return m_root; }
    void write(const std::string &name, std::string_view bytes) const;

private:
    std::filesystem::path m_root;
    std::filesystem::path m_files;
};

} // namespace quorvane::ui::win32::test
