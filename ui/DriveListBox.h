// The drive list: one entry per mounted volume, shown by its mount point (or drive letter) and label.
#pragma once

#include <QComboBox>

#include <optional>

namespace quorvane::ui {

class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveListBox(QWidget *parent = nullptr);

    // Reads the mounted volumes again; the selection is kept when its volume is still there.
    void refresh();
    // The entry for a stored entry text, matched exactly or by its volume (a label may have changed since).
    std::optional<int> indexForText(const QString &text) const;
    // The entry of the volume that holds `path`, added when the list lacks it.
    int indexForPath(const QString &path);
    QString rootAt(int index) const;

protected:
    // Volumes come and go (a USB stick): the list is read again each time it drops down.
    void showPopup() override;

private:
    int addVolume(const QString &root, const QString &label);
};

} // namespace quorvane::ui
