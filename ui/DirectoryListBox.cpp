// The folder list's entries, highlighting and opening.
#include "ui/DirectoryListBox.h"

#include <QKeyEvent>
#include <QStyle>

namespace quorvane::ui {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kIndentSpaces = 2;

std::string entryPath(const QListWidgetItem *item) { return item->data(kPathRole).toString().toStdString(); }

} // namespace

DirectoryListBox::DirectoryListBox(QWidget *parent)
    : QListWidget(parent), m_openIcon(style()->standardIcon(QStyle::SP_DirOpenIcon)),
      m_closedIcon(style()->standardIcon(QStyle::SP_DirClosedIcon)) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Highlighting and opening must stay apart whatever the style says about single-click activation.
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { emit openRequested(entryPath(item)); });
}

void DirectoryListBox::showFolder(const std::string &path, const std::vector<FolderEntry> &entries, int current) {
    m_path = QString::fromStdString(path);
    clear();
    for (const FolderEntry &entry : entries) {
        auto *item =
            new QListWidgetItem(QString(entry.depth * kIndentSpaces, ' ') + QString::fromStdString(entry.name), this);
        item->setData(kPathRole, QString::fromStdString(entry.path));
        item->setIcon(entry.open ? m_openIcon : m_closedIcon);
    }
    setCurrentRow(current);
}

std::string DirectoryListBox::highlightedPath() {
    const QListWidgetItem *item = currentItem();
    return item ? entryPath(item) : m_path.toStdString();
}

void DirectoryListBox::keyPressEvent(QKeyEvent *event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        emit openRequested(highlightedPath());
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace quorvane::ui
