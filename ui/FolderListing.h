// One read of a folder: its subfolders and the files that the file list shows, or nothing when it cannot be read.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane::ui {

struct FolderListing {
    QStringList folders; // names, sorted without regard to case
    QStringList files;   // names matching the file list's patterns, sorted the same way
};

// Hidden entries (names beginning with ".") are left out, as a file manager does.
std::optional<FolderListing> listFolder(const QString &path);

} // namespace quorvane::ui
