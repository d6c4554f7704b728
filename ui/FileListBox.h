// The file list: the matching files of one folder, at most one of them selected.
#pragma once

#include "ui/BrowserLists.h"

#include <QListWidget>

#include <optional>

namespace quorvane::ui {

class FileListBox : public QListWidget, public FileList {
    Q_OBJECT
public:
    explicit FileListBox(QWidget *parent = nullptr);

    void showFiles(const std::string &folder, const std::vector<std::string> &names) override;
    QString folder() const { return m_folder; }
    // The bare name of the selected entry.
    std::optional<QString> selectedName() const;

signals:
    // The user selected an entry, by mouse or keyboard (also when clicking the entry already selected).
    void fileClicked();
    void fileDoubleClicked();

private:
    QString m_folder;
};

} // namespace quorvane::ui
