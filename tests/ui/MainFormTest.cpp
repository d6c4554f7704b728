// The main window on Qt's offscreen platform: start state, option handlers, help, Send, STOP! and Quit.
#include "FormRig.h"
#include "platform/fake/MemorySettings.h"
#include "ui/HelpPages.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <fstream>

namespace quorvane::ui {
namespace {

using std::chrono::seconds;

QString spaces(int n) { return QString(n, ' '); }

class MainFormTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_rig.create(m_settings, m_folder.path());
    }

    void writeFile(const QString &name, const std::string &content) {
        std::ofstream(QDir(m_folder.path()).filePath(name).toStdString(), std::ios::binary) << content;
    }

    // Puts the browser on the test folder again, so that the lists show files written since.
    void reopenFolder() { ASSERT_TRUE(m_rig.clickEntry("DirectoryListBox", QDir(m_folder.path()).dirName(), true)); }

    bool enabled(const char *name) const { return m_rig.get(name)->isEnabled(); }
    bool checked(const char *name) const { return m_rig.get<QAbstractButton>(name)->isChecked(); }
    QString text(const char *name) const { return m_rig.get<QAbstractButton>(name)->text(); }

    QTemporaryDir m_folder;
    platform::MemorySettings m_settings;
    test::FormRig m_rig;
};

TEST_F(MainFormTest, StartStateTexts) {
    EXPECT_EQ(m_rig.form->windowTitle(), "Quorvane");
    const struct {
        const char *name;
        QString text;
    } buttons[] = {
        {"optEVMBUG", "EVMBUG"},
        {"optTIBUG", "TIBUG"},
        {"btnSetAsDefaultFolder", "Set As Default Folder"},
        {"optTeraTerm", "Tera Term"},
        {"optHyperTerminal", "HyperTerminal"},
        {"optFileType2", "Hex Dump -" + spaces(27) + "Send To EVMBUG IM Command"},
        {"chkIgnoreAddressTags", "Ignore Address Tags"},
        {"optFileType1", "Tagged Object Code -" + spaces(14) + "Send To EVMBUG IM Command"},
        {"btnFileTypeHelp", "?"},
        {"optFileType0", "Tagged Object Code -" + spaces(2) + "Send To Loader"},
        {"optFileType3", "Text File"},
        {"btnStop", "STOP!"},
        {"btnSend", "Send"},
        {"btnQuit", "Quit"},
    };
    for (const auto &b : buttons) {
        EXPECT_EQ(text(b.name), b.text) << b.name;
    }
    const struct {
        const char *name;
        QString text;
    } labels[] = {
        {"lblMultFactorChar", "Delay multiplication factor - each character:"},
        {"lblMultFactorCharx", "x"},
        {"lblMultFactorLinex", "x"},
        {"lblMultFactorLine", "Delay multiplication factor - each line:"},
        {"Label2", "Select the text file to send, set options, then click the Send button."},
        {"lblMorvelsSoftware", "Morvel's Software presents ..."},
        {"lblTitleText", "Quorvane"},
        {"lblVersion", "V" + QString::number(QUORVANE_VERSION_MAJOR) + "." + QString::number(QUORVANE_VERSION_MINOR)},
        {"Label1", "Report problems: README"},
        {"lblTitleBox", ""},
    };
    for (const auto &l : labels) {
        EXPECT_EQ(m_rig.get<QLabel>(l.name)->text(), l.text) << l.name;
    }
    // The small top-band labels are not wrapped: their texts must fit their fixed widths.
    for (const char *name : {"Label1", "lblVersion"}) {
        const auto *label = m_rig.get<QLabel>(name);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width()) << name;
    }
    EXPECT_EQ(m_rig.get<QGroupBox>("Frame1")->title(), "TMS99xx(x) Monitor");
    EXPECT_EQ(m_rig.get<QGroupBox>("frmTerminalType")->title(), "Windows Terminal");
    EXPECT_EQ(m_rig.get<QGroupBox>("frmFileType")->title(), "File Type");
    EXPECT_EQ(m_rig.get<QLineEdit>("txtMultFactorChar")->text(), "1.0");
    EXPECT_EQ(m_rig.get<QLineEdit>("txtMultFactorLine")->text(), "1.0");
}

TEST_F(MainFormTest, StartStateSelectionsAndEnabledStates) {
    for (const char *name : {"optEVMBUG", "optTeraTerm", "optFileType0"}) {
        EXPECT_TRUE(checked(name)) << name;
    }
    for (const char *name :
         {"optTIBUG", "optHyperTerminal", "optFileType1", "optFileType2", "optFileType3", "chkIgnoreAddressTags"}) {
        EXPECT_FALSE(checked(name)) << name;
    }
    for (const char *name : {"lblMultFactorChar", "lblMultFactorCharx", "txtMultFactorChar", "lblMultFactorLine",
                             "lblMultFactorLinex", "txtMultFactorLine", "chkIgnoreAddressTags"}) {
        EXPECT_FALSE(enabled(name)) << name;
    }
    for (const char *name : {"optFileType0", "btnSend", "btnQuit", "btnFileTypeHelp", "FileListBox"}) {
        EXPECT_TRUE(enabled(name)) << name;
    }
    EXPECT_TRUE(m_rig.get("btnStop")->isHidden());
    EXPECT_TRUE(m_rig.get("btnSend")->isVisible());
    EXPECT_TRUE(m_rig.get<QListWidget>("FileListBox")->selectedItems().isEmpty());
    EXPECT_EQ(m_rig.form->fileType(), FileType::Loader);
    EXPECT_FALSE(m_rig.form->tibugSelected());
    EXPECT_EQ(m_rig.form->terminalTitleTerm(), "Tera Term");
}

TEST_F(MainFormTest, TabOrder) {
    const QStringList expected = {"DriveListBox",
                                  "DirectoryListBox",
                                  "FileListBox",
                                  "btnSetAsDefaultFolder",
                                  "optTIBUG",
                                  "optEVMBUG",
                                  "optFileType0",
                                  "optFileType1",
                                  "chkIgnoreAddressTags",
                                  "optFileType2",
                                  "optFileType3",
                                  "txtMultFactorChar",
                                  "txtMultFactorLine",
                                  "btnFileTypeHelp",
                                  "optTeraTerm",
                                  "optHyperTerminal",
                                  "btnSend",
                                  "btnStop",
                                  "btnQuit"};
    QStringList order;
    QWidget *start = m_rig.get("DriveListBox");
    QWidget *widget = start;
    do {
        if (expected.contains(widget->objectName()) && !order.contains(widget->objectName())) {
            order.push_back(widget->objectName());
        }
        widget = widget->nextInFocusChain();
    } while (widget != start);
    EXPECT_EQ(order, expected);
}

TEST_F(MainFormTest, FixedLayoutInTwipsAtTheScreensDpi) {
    const double scale = m_rig.form->logicalDpiX() / 1440.0;
    auto px = [scale](int twips) { return static_cast<int>(std::lround(twips * scale)); };
    EXPECT_EQ(m_rig.form->size(), QSize(px(10785), px(8430)));
    EXPECT_EQ(m_rig.form->minimumSize(), m_rig.form->maximumSize());
    const struct {
        const char *name;
        int l, t, w, h;
    } places[] = {{"btnSend", 7920, 7080, 2775, 615},    {"FileListBox", 3120, 1425, 4695, 6915},
                  {"optFileType1", 120, 720, 2625, 375}, {"txtMultFactorLine", 2280, 2865, 375, 285},
                  {"btnQuit", 9360, 7840, 1335, 495},    {"lblTitleBox", 120, 360, 10575, 615}};
    for (const auto &p : places) {
        EXPECT_EQ(m_rig.get(p.name)->geometry(), QRect(px(p.l), px(p.t), px(p.w), px(p.h))) << p.name;
    }
    EXPECT_EQ(m_rig.get("optFileType1")->parentWidget()->objectName(), "frmFileType");
    EXPECT_EQ(m_rig.form->palette().color(QPalette::Window), QColor(254, 253, 220));
    EXPECT_EQ(m_rig.get("lblMorvelsSoftware")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST_F(MainFormTest, MonitorClicksRelabelOnlyTheMonitorTypes) {
    m_rig.click("optFileType2");
    m_rig.click("optTIBUG");
    EXPECT_TRUE(checked("optFileType2"));
    EXPECT_FALSE(checked("optEVMBUG"));
    EXPECT_EQ(text("optFileType1"), "Tagged Object Code -" + spaces(14) + "Send To TIBUG M Command");
    EXPECT_EQ(text("optFileType2"), "Hex Dump -" + spaces(26) + "Send To TIBUG M Command");
    EXPECT_EQ(text("optFileType0"), "Tagged Object Code -" + spaces(2) + "Send To Loader");
    EXPECT_TRUE(enabled("txtMultFactorChar"));
    EXPECT_FALSE(enabled("chkIgnoreAddressTags"));
    m_rig.click("optEVMBUG");
    EXPECT_EQ(text("optFileType2"), "Hex Dump -" + spaces(26) + "Send To EVMBUG IM Command");
    EXPECT_FALSE(m_rig.form->tibugSelected());
}

TEST_F(MainFormTest, ClickingTheSelectedEvmbugAtStartDropsTheExtraSpace) {
    const QString atStart = text("optFileType1");
    m_rig.click("optEVMBUG");
    EXPECT_EQ(text("optFileType2"), "Hex Dump -" + spaces(26) + "Send To EVMBUG IM Command");
    EXPECT_EQ(text("optFileType1"), atStart);
}

TEST_F(MainFormTest, FileTypeClicksSetTheEnabledStatesAndKeepValues) {
    const struct {
        const char *option;
        FileType type;
        bool factors;
        bool tags;
    } steps[] = {{"optFileType1", FileType::TaggedObject, true, true},
                 {"optFileType2", FileType::HexDump, true, false},
                 {"optFileType3", FileType::Text, true, false},
                 {"optFileType0", FileType::Loader, false, false},
                 {"optFileType1", FileType::TaggedObject, true, true}};
    m_rig.click("optFileType1");
    m_rig.click("chkIgnoreAddressTags");
    m_rig.get<QLineEdit>("txtMultFactorChar")->setText("2.5");
    for (const auto &s : steps) {
        m_rig.click(s.option);
        EXPECT_EQ(m_rig.form->fileType(), s.type);
        for (const char *name : {"lblMultFactorChar", "lblMultFactorCharx", "txtMultFactorChar", "lblMultFactorLine",
                                 "lblMultFactorLinex", "txtMultFactorLine"}) {
            EXPECT_EQ(enabled(name), s.factors) << s.option << " " << name;
        }
        EXPECT_EQ(enabled("chkIgnoreAddressTags"), s.tags) << s.option;
        EXPECT_TRUE(checked("chkIgnoreAddressTags")) << "disabling lost the check mark";
        EXPECT_EQ(m_rig.form->charFactorText(), "2.5");
    }
    EXPECT_TRUE(m_rig.form->ignoreAddressTags());
}

TEST_F(MainFormTest, TerminalGroupIsExclusiveOnItsOwn) {
    m_rig.click("optTIBUG");
    m_rig.click("optFileType3");
    m_rig.click("optHyperTerminal");
    EXPECT_FALSE(checked("optTeraTerm"));
    EXPECT_TRUE(checked("optTIBUG"));
    EXPECT_TRUE(checked("optFileType3"));
    EXPECT_EQ(m_rig.form->terminalTitleTerm(), "HyperTerminal");
}

TEST_F(MainFormTest, HelpShowsFourPagesForTheSelectedMonitorWhateverTheType) {
    const struct {
        const char *monitor;
        const char *fileType;
        Monitor words;
    } cases[] = {{"optEVMBUG", "optFileType0", Monitor::Evmbug}, {"optTIBUG", "optFileType3", Monitor::Tibug}};
    std::size_t shown = 0;
    for (const auto &c : cases) {
        m_rig.click(c.monitor);
        m_rig.click(c.fileType);
        m_rig.click("btnFileTypeHelp");
        const auto &messages = m_rig.platform.dialogs.messages();
        const std::vector<std::string> expected = helpPages(c.words);
        ASSERT_EQ(messages.size(), shown + 4);
        for (std::size_t page = 0; page < 4; ++page) {
            EXPECT_EQ(messages[shown + page].title, "Quorvane");
            EXPECT_EQ(messages[shown + page].icon, platform::MessageIcon::None);
            EXPECT_EQ(messages[shown + page].text, expected[page]);
        }
        shown = messages.size();
    }
    EXPECT_NE(m_rig.platform.dialogs.messages()[5].text.find("TIBUG M Command"), std::string::npos);
}

TEST_F(MainFormTest, SendWithoutASelectionOnlyWarns) {
    m_rig.click("btnSend");
    ASSERT_EQ(m_rig.platform.dialogs.messages().size(), 1u);
    EXPECT_EQ(m_rig.platform.dialogs.messages()[0].text, "Select a text file to send.");
    EXPECT_EQ(m_rig.platform.desktop.walks(), 0u);
    EXPECT_TRUE(m_rig.get("btnStop")->isHidden());
}

TEST_F(MainFormTest, DoubleClickChoosesTheTypeThenSends) {
    writeFile("mem.HEX", std::string("\x12\x34", 2));
    reopenFolder();
    m_rig.platform.desktop.addWindow(9, "COM3 - Tera Term VT");
    m_rig.click("optFileType3");
    ASSERT_TRUE(m_rig.clickEntry("FileListBox", "mem.HEX", true));
    EXPECT_TRUE(checked("optFileType2"));
    EXPECT_EQ(m_rig.platform.typedText().rfind("1234 ", 0), 0u) << m_rig.platform.typedText();
    EXPECT_EQ(m_rig.platform.desktop.foregroundWindow(), platform::WindowId{9});
    EXPECT_TRUE(m_rig.get("btnStop")->isHidden()) << "the common end hides STOP!";
}

TEST_F(MainFormTest, StopClickDuringATransferEndsIt) {
    writeFile("listing.txt", std::string(100, 'A') + "\r\n" + std::string(100, 'B') + "\r\n");
    reopenFolder();
    m_rig.platform.desktop.addWindow(9, "Tera Term");
    ASSERT_TRUE(m_rig.clickEntry("FileListBox", "listing.txt"));
    bool stopWasShown = false;
    m_rig.platform.pump.at(seconds(2), [this, &stopWasShown] {
        stopWasShown = !m_rig.get("btnStop")->isHidden();
        m_rig.click("btnStop");
    });
    m_rig.click("btnSend");
    EXPECT_TRUE(stopWasShown);
    EXPECT_EQ(m_rig.platform.typedText().find('b'), std::string::npos);
    EXPECT_TRUE(m_rig.get("btnStop")->isHidden());
    EXPECT_EQ(m_rig.programEnds, 0);
    EXPECT_EQ(m_rig.get<QLabel>("Label2")->text(), "Stopped after line 1 of 2");
}

struct ProgressView {
    bool instructionShown, barShown, figuresShown;
    int percent;
    QString figures, title;
    bool operator==(const ProgressView &) const = default;
};

void PrintTo(const ProgressView &v, std::ostream *out) {
    *out << v.percent << "% \"" << v.figures.toStdString() << "\" \"" << v.title.toStdString() << "\" instruction "
         << v.instructionShown << " bar " << v.barShown << " figures " << v.figuresShown;
}

TEST_F(MainFormTest, ProgressTakesTheInstructionLinesPlaceWhileATransferRunsAndSaysHowItEnded) {
    // Four lines of 102 characters with their ends: each takes 1.1 s at the factors of 1.0, after the 1 s wait.
    std::string content;
    for (int line = 0; line < 4; ++line) {
        content += std::string(100, 'A') + "\r\n";
    }
    writeFile("listing.txt", content);
    reopenFolder();
    m_rig.platform.desktop.addWindow(9, "Tera Term");
    ASSERT_TRUE(m_rig.clickEntry("FileListBox", "listing.txt"));
    auto view = [this] {
        return ProgressView{!m_rig.get("Label2")->isHidden(),         !m_rig.get("prgTransfer")->isHidden(),
                            !m_rig.get("lblProgress")->isHidden(),    m_rig.get<QProgressBar>("prgTransfer")->value(),
                            m_rig.get<QLabel>("lblProgress")->text(), m_rig.form->windowTitle()};
    };
    std::optional<ProgressView> first, beforeSecondSend, afterSecondSend, later;
    m_rig.platform.pump.at(seconds(2), [&] {
        first = beforeSecondSend = view();
        m_rig.click("btnSend");
        afterSecondSend = view();
    });
    m_rig.platform.pump.at(std::chrono::milliseconds(2500), [&] { later = view(); });
    m_rig.click("btnSend");

    ASSERT_TRUE(first && later);
    // Progress comes with every character: 1 s of typing at 10 ms each.
    EXPECT_EQ(*first,
              (ProgressView{false, true, true, 24, "100 of 408 characters typed, 0:03 left", "Quorvane - 24 %"}));
    EXPECT_EQ(afterSecondSend, beforeSecondSend) << "the ignored Send changed the progress";
    EXPECT_EQ(m_rig.platform.desktop.walks(), 1u);
    // The first line with its end and its 100 ms wait, then 40 characters of the second.
    EXPECT_EQ(*later,
              (ProgressView{false, true, true, 34, "142 of 408 characters typed, 0:03 left", "Quorvane - 34 %"}));

    const ProgressView end = view();
    EXPECT_TRUE(end.instructionShown && !end.barShown && !end.figuresShown);
    EXPECT_EQ(end.title, "Quorvane");
    EXPECT_TRUE(m_rig.get<QLabel>("Label2")->text().startsWith("Sent listing.txt: 408 characters in "))
        << m_rig.get<QLabel>("Label2")->text().toStdString();
}

// The walk compares each title with the window's own at that moment, so the window is never its own terminal.
TEST_F(MainFormTest, WindowWalkSkipsTheOwnWindowWhateverItsTitle) {
    for (const char *title : {"Quorvane - Tera Term", "Tera Term - Quorvane - 42 %"}) {
        test::FormRig rig;
        rig.create(m_settings, m_folder.path());
        writeFile("mem.bin", std::string("\x12\x34", 2));
        ASSERT_TRUE(rig.clickEntry("DirectoryListBox", QDir(m_folder.path()).dirName(), true));
        rig.platform.desktop.addWindow(9, "COM1 - Tera Term VT");
        // Lowest in the stacking order: it would win the walk if it were not skipped.
        rig.platform.desktop.addWindow(5, title);
        rig.form->setWindowTitle(title);
        ASSERT_TRUE(rig.clickEntry("FileListBox", "mem.bin"));
        rig.click("btnSend");
        EXPECT_EQ(rig.platform.desktop.foregroundWindow(), platform::WindowId{9}) << title;
        EXPECT_EQ(rig.form->windowTitle(), "Quorvane") << "the title after a transfer";
    }
}

TEST_F(MainFormTest, QuitEndsTheProgramAtOnce) {
    m_rig.click("btnQuit");
    EXPECT_EQ(m_rig.programEnds, 1);
    EXPECT_FALSE(m_rig.form->isVisible());
}

TEST_F(MainFormTest, QuitOrCloseDuringATransferTypesNothingMore) {
    for (const bool close : {false, true}) {
        test::FormRig rig;
        rig.create(m_settings, m_folder.path());
        writeFile("listing.txt", std::string(100, 'A') + "\r\n" + std::string(100, 'B') + "\r\n");
        ASSERT_TRUE(rig.clickEntry("DirectoryListBox", QDir(m_folder.path()).dirName(), true));
        rig.platform.desktop.addWindow(9, "Tera Term");
        ASSERT_TRUE(rig.clickEntry("FileListBox", "listing.txt"));
        std::size_t typedAtQuit = 0;
        rig.platform.pump.at(seconds(2), [&] {
            typedAtQuit = rig.platform.injector.records().size();
            if (close) {
                rig.form->close();
            } else {
                rig.click("btnQuit");
            }
        });
        rig.click("btnSend");
        EXPECT_GT(typedAtQuit, 0u);
        EXPECT_EQ(rig.platform.injector.records().size(), typedAtQuit) << (close ? "close" : "Quit");
        EXPECT_EQ(rig.programEnds, 1);
        EXPECT_EQ(rig.platform.pump.pendingActions(), 0u);
    }
}

} // namespace
} // namespace quorvane::ui
