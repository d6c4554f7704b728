// The drive list: one entry per mounted volume, shown by its mount point (or drive letter) and label.
#pragma once

#include "ui/BrowserLists.h"

#include <QComboBox>

namespace quorvane::ui {

class DriveListBox : public QComboBox, public DriveList {
    Q_OBJECT
public:
    explicit DriveListBox(QWidget *parent = nullptr);

    // Reads the mounted volumes again; the selection is kept when its volume is still there.
    void refresh();

    std::optional<int> indexForText(std::string_view text) override;
    int indexForPath(const std::string &path) override;
    std::string rootAt(int index) override;
    std::string textAt(int index) override { return itemText(index).toStdString(); }
    int currentIndex() override { return QComboBox::currentIndex(); }
    void setCurrentIndex(int index) override { QComboBox::setCurrentIndex(index); }

protected:
    // Volumes come and go (a USB stick): the list is read again each time it drops down.
    void showPopup() override;

private:
    QString root(int index) const { return itemData(index).toString(); }
    int indexForQtPath(const QString &path);
    int addVolume(const QString &root, const QString &label);
};

} // namespace quorvane::ui
