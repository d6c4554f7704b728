// Private temporary folders for tests and benchmarks, and small file helpers that go with them.
#include "tests/support/TempDir.h"

#include <fstream>
#include <iterator>
#include <random>

namespace quorvane::test {

std::string makeTempDir(const std::string &prefix) {
    static std::mt19937_64 names{std::random_device{}()};
    std::error_code error;
    const std::filesystem::path parent = std::filesystem::temp_directory_path(error);
    for (int attempt = 0; attempt < 100 && !error; ++attempt) {
        const std::filesystem::path path = parent / (prefix + std::to_string(names()));
        // create_directory is false for a folder that exists already: that name belongs to someone else.
        if (std::filesystem::create_directory(path, error)) {
            return path.string();
        }
    }
    return {};
}

void removeTree(const std::string &path) {
    std::error_code ignored;
    if (!path.empty()) {
        std::filesystem::remove_all(path, ignored);
    }
}

bool writeFile(const std::string &path, const std::string &content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out.flush());
}

std::optional<std::string> readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string &path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

std::filesystem::path TempFolder::write(const std::string &name, std::string_view bytes) const {
    const std::filesystem::path path = m_path / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

} // namespace quorvane::test
