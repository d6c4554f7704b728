// Progress through the real window on a private X server: the Qt window and the X11 backend in this process
// (so the test reads its controls), typing into the simulated board in xterm. The figures and the title while
// the transfer runs (the title also as the window manager reads it), a second Send that changes nothing, and
// the line that says how the transfer ended, checked against what the board received.
// GoogleTest first, then Qt: Xlib, which the test support includes, defines macros (None, Bool, Status) that
// their headers use as names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "engine/SendDriver.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtSettings.h"
#include "platform/qt/QtTimer.h"
#include "ui/MainForm.h"
#include "ui/TransferProgress.h"

#include "platform/DesktopBackend.h"
#include "tests/e2e/BoardTerminal.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <regex>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

struct Sample {
    int percent;
    std::string figures, title, serverTitle;
};

// _NET_WM_NAME as the window manager and taskbars read it from the server.
std::string serverTitle(Display *display, Window window) {
    XSync(display, False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    const Atom name = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    std::string title;
    if (XGetWindowProperty(display, window, name, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data != nullptr) {
        title.assign(reinterpret_cast<const char *>(data), count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return title;
}

class WindowRig {
public:
    WindowRig(XSession &session, const std::string &folder, std::string &error)
        : m_session(session), m_backend(platform::openDesktopBackend(error)),
          m_form(m_dialogs, m_settings, QString::fromStdString(folder)),
          m_driver(m_form,
                   {*m_backend.desktop, *m_backend.layout, *m_backend.injector, m_pump, m_timer, m_clock, m_dialogs}) {
        m_dialogs.setParent(&m_form);
        m_form.setSendDriver(&m_driver, m_clock);
        m_form.show();
        ready = m_backend.desktop && QTest::qWaitForWindowExposed(&m_form);
    }

    template <typename Widget = QWidget> Widget *get(const char *name) { return m_form.findChild<Widget *>(name); }
    void click(const char *name) { QTest::mouseClick(get(name), Qt::LeftButton); }
    bool selectFile(const QString &name) {
        auto *list = get<QListWidget>("FileListBox");
        const auto items = list->findItems(name, Qt::MatchExactly);
        if (items.isEmpty()) {
            return false;
        }
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.front()).center());
        return true;
    }
    Sample sample() {
        return {get<QProgressBar>("prgTransfer")->value(), get<QLabel>("lblProgress")->text().toStdString(),
                m_form.windowTitle().toStdString(), serverTitle(m_session.display(), m_form.winId())};
    }
    std::string endLine() { return get<QLabel>("Label2")->text().toStdString(); }
    std::string shownTitle() {
        QTest::qWait(200);
        return serverTitle(m_session.display(), m_form.winId());
    }

    bool ready = false;

private:
    XSession &m_session;
    platform::DesktopBackend m_backend;
    platform::QtDialogs m_dialogs;
    platform::QtSettings m_settings;
    platform::QtEventPump m_pump;
    platform::QtTimer m_timer;
    platform::QtClock m_clock;
    ui::MainForm m_form;
    engine::SendDriver m_driver;
};

// Every figure line agrees with the bar, and the title carries the same percentage.
void expectConsistent(const std::vector<Sample> &samples, const std::string &total) {
    const std::regex figures("([0-9,]+) of " + total + " characters typed(, [0-9]+:[0-9]{2} left)?");
    for (const Sample &s : samples) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(s.figures, match, figures)) << s.figures;
        std::string done = match[1];
        done.erase(std::remove(done.begin(), done.end(), ','), done.end());
        std::string all = total;
        all.erase(std::remove(all.begin(), all.end(), ','), all.end());
        EXPECT_EQ(s.percent, std::stoi(done) * 100 / std::stoi(all)) << s.figures;
        EXPECT_EQ(s.title, "Quorvane - " + std::to_string(s.percent) + " %");
    }
}

TEST(WindowProgressTest, FiguresTitleAndEndLineThroughTheRealWindow) {
    std::string error;
    auto session = XSession::start({.windowManager = true}, error);
    ASSERT_TRUE(session) << error;
    for (const std::string &variable : session->environment()) {
        const auto equals = variable.find('=');
        setenv(variable.substr(0, equals).c_str(), variable.substr(equals + 1).c_str(), 1);
    }
    auto board = BoardTerminal::start(*session, {"evmbug", "text", "COM1 - Tera Term VT", {}}, error);
    ASSERT_TRUE(board) << error;
    const std::string folder = session->tempDir() + "/files";
    std::filesystem::create_directories(folder);
    std::string content;
    for (int line = 1; line <= 40; ++line) {
        content += "LINE " + std::to_string(line) + " OF A LONG LISTING\r\n";
    }
    content.resize(content.size() - 2);
    ASSERT_TRUE(writeFile(folder + "/listing.txt", content));

    static int argc = 1;
    static char name[] = "quorvane";
    static char *argv[] = {name, nullptr};
    QApplication application(argc, argv);
    WindowRig rig(*session, folder, error);
    ASSERT_TRUE(rig.ready) << error;
    ASSERT_TRUE(rig.selectFile("listing.txt"));
    rig.get<QLineEdit>("txtMultFactorChar")->setText("0.05");
    rig.get<QLineEdit>("txtMultFactorLine")->setText("0.5");
    const std::string total = ui::groupedNumber(content.size());

    // First transfer: a second Send at a quarter, STOP! at half.
    std::vector<Sample> samples;
    std::optional<Sample> beforeSecondSend, afterSecondSend;
    bool stopped = false;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (rig.get("prgTransfer")->isHidden()) {
            return;
        }
        samples.push_back(rig.sample());
        if (!beforeSecondSend && samples.back().percent >= 25) {
            beforeSecondSend = rig.sample();
            rig.click("btnSend");
            afterSecondSend = rig.sample();
        } else if (!stopped && samples.back().percent >= 50) {
            stopped = true;
            rig.click("btnStop");
        }
    });
    sampler.start(20);
    rig.click("btnSend");
    sampler.stop();
    const std::string received = board->waitForQuiet(1s, 10s);
    ASSERT_TRUE(beforeSecondSend && afterSecondSend && stopped);
    EXPECT_EQ(afterSecondSend->figures, beforeSecondSend->figures) << "the ignored Send changed the progress";
    EXPECT_EQ(afterSecondSend->percent, beforeSecondSend->percent);
    expectConsistent(samples, total);
    EXPECT_TRUE(std::any_of(samples.begin(), samples.end(), [](const Sample &s) {
        return std::regex_match(s.serverTitle, std::regex("Quorvane - ([1-9]|[1-9][0-9]) %"));
    })) << "the window manager never saw the percentage";
    const auto lines = std::count(received.begin(), received.end(), '\r');
    EXPECT_EQ(rig.endLine(), "Stopped after line " + std::to_string(lines) + " of 40") << received;
    EXPECT_EQ(rig.shownTitle(), "Quorvane");

    // Second transfer: to the end.
    samples.clear();
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!rig.get("prgTransfer")->isHidden()) {
            samples.push_back(rig.sample());
        }
    });
    watcher.start(20);
    rig.click("btnSend");
    watcher.stop();
    EXPECT_FALSE(samples.empty());
    expectConsistent(samples, total);
    EXPECT_TRUE(std::regex_match(rig.endLine(), std::regex("Sent listing\\.txt: " + total + " characters in [0-9]+ s")))
        << rig.endLine();
    EXPECT_EQ(rig.shownTitle(), "Quorvane");
    EXPECT_TRUE(rig.get("prgTransfer")->isHidden());
    EXPECT_TRUE(rig.get("lblProgress")->isHidden());
}

} // namespace
} // namespace quorvane::test
