// A message box with one OK button, the title, the text and the icon.
#include "platform/qt/QtDialogs.h"

#include <QMessageBox>

namespace quorvane::platform {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

void QtDialogs::showMessage(std::string_view title, std::string_view text, MessageIcon icon) {
    QMessageBox box(qtIcon(icon), fromUtf8(title), fromUtf8(text), QMessageBox::Ok, m_parent);
    box.exec();
}

} // namespace quorvane::platform
