// One read of a folder: its subfolders and the files that the file list shows, or nothing when it cannot be read.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::ui {

struct FolderListing {
    std::vector<std::string> folders; // UTF-8 names, sorted without regard to letter case
    std::vector<std::string> files;   // names matching the file list's patterns, sorted the same way
};

// Hidden entries (names beginning with ".") are left out, as a file manager does.
std::optional<FolderListing> listFolder(const std::filesystem::path &path);

// UTF-8 to a path and back, the same on every system.
std::filesystem::path pathFromUtf8(std::string_view text);
std::string utf8(const std::filesystem::path &path);

} // namespace quorvane::ui
