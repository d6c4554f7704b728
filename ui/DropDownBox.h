// A list to drop down whose box also takes typed text, and which says when it is about to open, so that its
// entries can be read again first.
#pragma once

#include <QComboBox>

namespace quorvane::ui {

class DropDownBox : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownBox(QWidget *parent);
    void showPopup() override;

signals:
    void aboutToDropDown();
};

} // namespace quorvane::ui
