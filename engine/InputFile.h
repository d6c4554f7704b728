// Opening the file a transfer reads: the path as the browser gives it, and failures in words for the user.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace quorvane::engine {

// The folder, the separator and the entry. The separator is always added, so a root folder gives two in a
// row, which every file system accepts.
std::filesystem::path transferPath(std::string_view folderUtf8, std::string_view entryUtf8);
std::string displayPath(const std::filesystem::path &path);

// Opens `path` for reading as bytes. On failure `reason` says why, as a sentence fragment for a message.
bool openInputFile(const std::filesystem::path &path, std::ifstream &file, std::string &reason);

inline constexpr std::string_view kReadErrorReason = "reading it failed";

} // namespace quorvane::engine
