// Modal message boxes on QMessageBox.
#pragma once

#include "platform/Dialogs.h"

class QWidget;

namespace quorvane::platform {

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    // The window the boxes are centred on and modal to.
    void setParent(QWidget *parent) { m_parent = parent; }

    void showMessage(std::string_view title, std::string_view text, MessageIcon icon) override;

private:
    QWidget *m_parent;
};

} // namespace quorvane::platform
