// The editable list that announces its opening.
#include "ui/DropDownBox.h"

#include <QLineEdit>

namespace quorvane::ui {

DropDownBox::DropDownBox(QWidget *parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

void DropDownBox::showPopup() {
    emit aboutToDropDown();
    QComboBox::showPopup();
}

} // namespace quorvane::ui
