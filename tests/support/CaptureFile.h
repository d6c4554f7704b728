// The file that ttycapture fills with every byte its terminal sends, read back by a test in portions.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace quorvane::test {

class CaptureFile {
public:
    explicit CaptureFile(std::string path) : m_path(std::move(path)) {}

    // Waits until `count` bytes have arrived since the last take (or `timeout` passed), then a short quiet
    // spell so that extra bytes show too; returns those bytes and moves past them.
    std::string take(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    std::string everything() const;
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
    std::size_t m_taken = 0;
};

// Where the ttycapture program was built.
std::string ttycapturePath();

} // namespace quorvane::test
