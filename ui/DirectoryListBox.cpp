// The folder list's entries, highlighting and opening.
#include "ui/DirectoryListBox.h"

#include <QDir>
#include <QKeyEvent>
#include <QStyle>

namespace quorvane::ui {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kIndentSpaces = 2;

} // namespace

DirectoryListBox::DirectoryListBox(QWidget *parent)
    : QListWidget(parent), m_openIcon(style()->standardIcon(QStyle::SP_DirOpenIcon)),
      m_closedIcon(style()->standardIcon(QStyle::SP_DirClosedIcon)) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Highlighting and opening must stay apart whatever the style says about single-click activation.
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { emit openRequested(item->data(kPathRole).toString()); });
}

void DirectoryListBox::showFolder(const QString &path, const QStringList &subfolders) {
    m_path = QDir::cleanPath(path);
    clear();
    QStringList ancestors;
    for (QDir dir(m_path); !dir.isRoot() && dir.cdUp();) {
        ancestors.prepend(dir.path());
    }
    int depth = 0;
    for (const QString &ancestor : ancestors) {
        const QString name = QDir(ancestor).isRoot() ? QDir::toNativeSeparators(ancestor) : QDir(ancestor).dirName();
        addEntry(name, ancestor, depth++, true);
    }
    const QString currentName = QDir(m_path).isRoot() ? QDir::toNativeSeparators(m_path) : QDir(m_path).dirName();
    addEntry(currentName, m_path, depth, true);
    const int currentRow = count() - 1;
    for (const QString &subfolder : subfolders) {
        addEntry(subfolder, QDir(m_path).filePath(subfolder), depth + 1, false);
    }
    setCurrentRow(currentRow);
}

QString DirectoryListBox::highlightedPath() const {
    const QListWidgetItem *item = currentItem();
    return item ? item->data(kPathRole).toString() : m_path;
}

QString DirectoryListBox::pathAt(int row) const {
    const QListWidgetItem *entry = item(row);
    return entry ? entry->data(kPathRole).toString() : QString();
}

void DirectoryListBox::keyPressEvent(QKeyEvent *event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        emit openRequested(highlightedPath());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirectoryListBox::addEntry(const QString &text, const QString &path, int depth, bool open) {
    auto *entry = new QListWidgetItem(QString(depth * kIndentSpaces, ' ') + text, this);
    entry->setData(kPathRole, path);
    entry->setIcon(open ? m_openIcon : m_closedIcon);
}

} // namespace quorvane::ui
