// Reading a folder through std::filesystem, which reports the errors that toolkits hide as an empty folder.
#include "ui/FolderListing.h"

#include "ui/FileTypeOptions.h"

#include <algorithm>
#include <cctype>

namespace quorvane::ui {
namespace {

bool beforeIgnoringCase(const std::string &a, const std::string &b) {
    const auto folded = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                   [&](char x, char y) { return folded(x) < folded(y); });
    const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                      [&](char x, char y) { return folded(x) < folded(y); });
    return less || (!greater && a < b);
}

} // namespace

std::optional<FolderListing> listFolder(const std::filesystem::path &path) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator entry(path, error);
    if (error) {
        return std::nullopt;
    }
    FolderListing listing;
    for (; entry != fs::directory_iterator(); entry.increment(error)) {
        const std::string name = utf8(entry->path().filename());
        if (name.starts_with('.')) {
            continue;
        }
        std::error_code typeError;
        if (entry->is_directory(typeError)) {
            listing.folders.push_back(name);
        } else if (entry->is_regular_file(typeError) && matchesFilePattern(name)) {
            listing.files.push_back(name);
        }
    }
    if (error) {
        return std::nullopt;
    }
    std::sort(listing.folders.begin(), listing.folders.end(), beforeIgnoringCase);
    std::sort(listing.files.begin(), listing.files.end(), beforeIgnoringCase);
    return listing;
}

std::filesystem::path pathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string utf8(const std::filesystem::path &path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace quorvane::ui
