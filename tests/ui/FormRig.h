// The real main window on the fake platform, with its engine, for tests that drive the widgets by object name.
#pragma once

#include "platform/Settings.h"
#include "tests/support/FakePlatform.h"
#include "ui/MainForm.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// Failures print QStrings as text rather than as arrays of code units.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

namespace quorvane::ui::test {

// One application for the whole test program; QApplication must outlive every widget.
inline void ensureApplication() {
    static int argc = 1;
    static char name[] = "quorvane-tests";
    static char *argv[] = {name, nullptr};
    static QApplication *application = new QApplication(argc, argv);
    (void)application;
}

struct FormRig {
    quorvane::test::FakePlatform platform;
    std::unique_ptr<MainForm> form;
    std::unique_ptr<engine::SendDriver> driver;
    int programEnds = 0;

    // Creates the window, which restores the defaults from `settings` at once, and shows it.
    void create(platform::Settings &settings, const QString &programFolder) {
        ensureApplication();
        form = std::make_unique<MainForm>(platform.dialogs, settings, programFolder);
        driver = std::make_unique<engine::SendDriver>(*form, platform.services());
        form->setSendDriver(driver.get(), platform.clock);
        form->setProgramEnd([this] { ++programEnds; });
        form->show();
    }

    ~FormRig() {
        driver.reset();
        form.reset();
    }

    template <typename Widget = QWidget> Widget *get(const char *name) const {
        Widget *widget = form->findChild<Widget *>(name);
        EXPECT_NE(widget, nullptr) << "no control named " << name;
        return widget;
    }

    void click(const char *name) const { QTest::mouseClick(get(name), Qt::LeftButton); }

    // Clicks (or double-clicks) the entry of a list whose text, without its indentation, is `text`.
    bool clickEntry(const char *listName, const QString &text, bool twice = false) const {
        auto *list = get<QListWidget>(listName);
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->text().trimmed() != text) {
                continue;
            }
            const QPoint at = list->visualItemRect(list->item(row)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            if (twice) {
                // What a real double-click delivers after the first click.
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
            }
            return true;
        }
        return false;
    }

    QStringList entries(const char *listName) const {
        QStringList texts;
        auto *list = get<QListWidget>(listName);
        for (int row = 0; row < list->count(); ++row) {
            texts.push_back(list->item(row)->text().trimmed());
        }
        return texts;
    }
};

} // namespace quorvane::ui::test
