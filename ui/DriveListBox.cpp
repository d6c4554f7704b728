// Filling the drive list from QStorageInfo and finding entries by stored text or by path.
#include "ui/DriveListBox.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace quorvane::ui {
namespace {

QString entryText(const QString &root, const QString &label) {
    return label.isEmpty() ? root : root + " [" + label + "]";
}

} // namespace

DriveListBox::DriveListBox(QWidget *parent) : QComboBox(parent) { refresh(); }

void DriveListBox::refresh() {
    const QString selected = currentIndex() >= 0 ? root(currentIndex()) : QString();
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(),
              [](const QStorageInfo &a, const QStorageInfo &b) { return a.rootPath() < b.rootPath(); });
    const QSignalBlocker blocker(this);
    clear();
    for (const QStorageInfo &volume : volumes) {
        // Containers bind-mount single files (/etc/hosts); only folders can be browsed.
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir()) {
            addVolume(volume.rootPath(), volume.name());
        }
    }
    if (!selected.isEmpty()) {
        setCurrentIndex(indexForQtPath(selected));
    }
}

std::optional<int> DriveListBox::indexForText(std::string_view utf8) {
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    for (int i = 0; i < count(); ++i) {
        if (itemText(i) == text || root(i) == text) {
            return i;
        }
    }
    for (int i = 0; i < count(); ++i) {
        if (text.startsWith(root(i) + " [")) {
            return i;
        }
    }
    return std::nullopt;
}

int DriveListBox::indexForPath(const std::string &path) { return indexForQtPath(QString::fromStdString(path)); }

int DriveListBox::indexForQtPath(const QString &path) {
    const QStorageInfo volume(path);
    // A path that Qt finds on no volume still belongs somewhere: the file system's root stands for its drive.
    const QString root = volume.isValid() ? volume.rootPath() : QDir::rootPath();
    const int index = findData(root);
    return index >= 0 ? index : addVolume(root, volume.isValid() ? volume.name() : QString());
}

void DriveListBox::showPopup() {
    refresh();
    QComboBox::showPopup();
}

std::string DriveListBox::rootAt(int index) { return root(index).toStdString(); }

int DriveListBox::addVolume(const QString &root, const QString &label) {
    const QSignalBlocker blocker(this);
    addItem(entryText(root, label), root);
    return count() - 1;
}

} // namespace quorvane::ui
