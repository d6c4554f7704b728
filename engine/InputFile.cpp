// Builds the transfer's path and opens it, turning each way that can fail into a reason the user can act on.
#include "engine/InputFile.h"

#include <cerrno>
#include <system_error>

namespace quorvane::engine {

std::filesystem::path transferPath(std::string_view folderUtf8, std::string_view entryUtf8) {
    std::u8string text;
    text.reserve(folderUtf8.size() + entryUtf8.size() + 1);
    for (const char c : folderUtf8) {
        text.push_back(static_cast<char8_t>(c));
    }
    text.push_back(static_cast<char8_t>(std::filesystem::path::preferred_separator));
    for (const char c : entryUtf8) {
        text.push_back(static_cast<char8_t>(c));
    }
    return std::filesystem::path(text);
}

std::string displayPath(const std::filesystem::path &path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool openInputFile(const std::filesystem::path &path, std::ifstream &file, std::string &reason) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        reason = "the file does not exist (it may have been moved or deleted)";
        return false;
    }
    if (std::filesystem::is_directory(status)) {
        reason = "it is a folder, not a file";
        return false;
    }
    // A pipe would block the open until a writer comes, and a device has no end or no fixed contents.
    if (!std::filesystem::is_regular_file(status)) {
        reason = "it is not a regular file (a pipe or a device, say)";
        return false;
    }
    errno = 0;
    file.open(path, std::ios::in | std::ios::binary);
    if (!file.is_open()) {
        const int code = errno;
        reason = code != 0 ? std::generic_category().message(code) : std::string("it could not be opened");
        return false;
    }
    return true;
}

} // namespace quorvane::engine
