// Reading a folder through std::filesystem, which reports the errors that QDir would hide as an empty folder.
#include "ui/FolderListing.h"

#include "ui/FileTypeOptions.h"

#include <algorithm>
#include <filesystem>

namespace quorvane::ui {
namespace {

void sortNames(QStringList &names) {
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
}

} // namespace

std::optional<FolderListing> listFolder(const QString &path) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator entry(fs::path(path.toStdU16String()), error);
    if (error) {
        return std::nullopt;
    }
    FolderListing listing;
    for (; entry != fs::directory_iterator(); entry.increment(error)) {
        const QString name = QString::fromStdU16String(entry->path().filename().u16string());
        if (name.startsWith('.')) {
            continue;
        }
        std::error_code typeError;
        if (entry->is_directory(typeError)) {
            listing.folders.push_back(name);
        } else if (entry->is_regular_file(typeError) && matchesFilePattern(name.toStdString())) {
            listing.files.push_back(name);
        }
    }
    if (error) {
        return std::nullopt;
    }
    sortNames(listing.folders);
    sortNames(listing.files);
    return listing;
}

} // namespace quorvane::ui
