// Reading and writing one value of the per-user settings store through QSettings.
#include "platform/qt/QtSettings.h"

#include <QSettings>

namespace quorvane::platform {
namespace {

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString keyPath(std::string_view section, std::string_view key) { return qt(section) + '/' + qt(key); }

} // namespace

std::string QtSettings::read(std::string_view app, std::string_view section, std::string_view key) {
    QSettings settings(QSettings::UserScope, qt(app), qt(app));
    // A file that cannot be read or parsed gives no values rather than half of them.
    if (settings.status() != QSettings::NoError) {
        return {};
    }
    return settings.value(keyPath(section, key)).toString().toStdString();
}

// QSettings keeps reporting a parse error of the file it read even after rewriting it cleanly, so a write is
// judged by reading it back: a corrupt file is repaired by the write, an unwritable one is reported.
bool QtSettings::write(std::string_view app, std::string_view section, std::string_view key, std::string_view value) {
    {
        QSettings settings(QSettings::UserScope, qt(app), qt(app));
        if (!settings.isWritable()) {
            return false;
        }
        settings.setValue(keyPath(section, key), qt(value));
        settings.sync();
        if (settings.status() == QSettings::AccessError) {
            return false;
        }
    }
    QSettings check(QSettings::UserScope, qt(app), qt(app));
    return check.status() == QSettings::NoError && check.value(keyPath(section, key)).toString() == qt(value);
}

} // namespace quorvane::platform
