// The file that ttycapture fills with every byte its terminal sends, read back by a test in portions.
#include "tests/support/CaptureFile.h"

#include "tests/support/TempDir.h"

#include <filesystem>
#include <thread>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

std::size_t fileSize(const std::string &path) {
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<std::size_t>(size);
}

} // namespace

std::string ttycapturePath() { return QUORVANE_TTYCAPTURE_PATH; }

std::string CaptureFile::take(std::size_t count, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (fileSize(m_path) < m_taken + count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    // A quiet spell: bytes that were not meant (a doubled key, say) must show in this case, not the next.
    std::size_t size = fileSize(m_path);
    do {
        size = fileSize(m_path);
        std::this_thread::sleep_for(100ms);
    } while (fileSize(m_path) != size);
    std::string all = everything();
    std::string fresh = all.size() > m_taken ? all.substr(m_taken) : std::string();
    m_taken = all.size();
    return fresh;
}

std::string CaptureFile::everything() const { return readFile(m_path).value_or(std::string()); }

} // namespace quorvane::test
