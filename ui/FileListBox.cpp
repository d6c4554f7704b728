// The file list's filling and the events that choose a file.
#include "ui/FileListBox.h"

namespace quorvane::ui {

FileListBox::FileListBox(QWidget *parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Keyboard moves change the selection without a click; a click on the selected entry changes nothing.
    // Both count as the click that chooses the file type, which is harmless to run twice.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (selectedName()) {
            emit fileClicked();
        }
    });
    connect(this, &QListWidget::itemClicked, this, [this] { emit fileClicked(); });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { emit fileDoubleClicked(); });
}

void FileListBox::showFiles(const std::string &folder, const std::vector<std::string> &names) {
    const QSignalBlocker blocker(this);
    m_folder = QString::fromStdString(folder);
    clear();
    for (const std::string &name : names) {
        addItem(QString::fromStdString(name));
    }
    setCurrentRow(-1);
}

std::optional<QString> FileListBox::selectedName() const {
    const QList<QListWidgetItem *> selected = selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return selected.front()->text();
}

} // namespace quorvane::ui
