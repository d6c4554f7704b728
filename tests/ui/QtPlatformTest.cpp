// The settings store on QSettings in a temporary configuration folder, and the console's stop requests.
#include "FormRig.h"
#include "platform/qt/QtSettings.h"
#include "platform/qt/StopSignals.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <csignal>

namespace quorvane::ui {
namespace {

class QtSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        test::ensureApplication();
        ASSERT_TRUE(m_config.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_config.path());
    }

    QString configFile() const { return QDir(m_config.path()).filePath("Quorvane/Quorvane.conf"); }

    QTemporaryDir m_config;
    platform::QtSettings m_settings;
};

TEST_F(QtSettingsTest, WrittenValuesReadBackUnderTheirSectionAndKey) {
    EXPECT_EQ(m_settings.read("Quorvane", "Defaults", "Default Folder"), "");
    ASSERT_TRUE(m_settings.write("Quorvane", "Defaults", "Default Drive", "/media/usb [DISK]"));
    ASSERT_TRUE(m_settings.write("Quorvane", "Defaults", "Default Folder", "/home/ann/Bänke"));
    EXPECT_EQ(m_settings.read("Quorvane", "Defaults", "Default Drive"), "/media/usb [DISK]");
    EXPECT_EQ(m_settings.read("Quorvane", "Defaults", "Default Folder"), "/home/ann/Bänke");
    EXPECT_EQ(m_settings.read("Quorvane", "Other", "Default Folder"), "");

    QSettings file(configFile(), QSettings::IniFormat);
    EXPECT_EQ(file.value("Defaults/Default Folder").toString(), QString::fromUtf8("/home/ann/Bänke"));
}

TEST_F(QtSettingsTest, AStoreThatCannotBeWrittenReportsFailure) {
    // A plain file where the configuration folder should be: the file cannot be created, even by root.
    QFile blocker(QDir(m_config.path()).filePath("Quorvane"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(m_settings.write("Quorvane", "Defaults", "Default Drive", "/"));
    EXPECT_EQ(m_settings.read("Quorvane", "Defaults", "Default Drive"), "");
}

TEST_F(QtSettingsTest, SaveThroughTheWindowThenRestart) {
    QTemporaryDir program;
    ASSERT_TRUE(QDir(program.path()).mkpath("work"));
    {
        test::FormRig rig;
        rig.create(m_settings, program.path());
        ASSERT_TRUE(rig.clickEntry("DirectoryListBox", "work", true));
        rig.click("btnSetAsDefaultFolder");
        EXPECT_TRUE(rig.platform.dialogs.messages().empty());
    }
    test::FormRig restarted;
    restarted.create(m_settings, program.path());
    EXPECT_EQ(QString::fromStdString(restarted.get<DirectoryListBox>("DirectoryListBox")->path()),
              QDir(program.path()).filePath("work"));
}

TEST_F(QtSettingsTest, ACorruptFileNeverStopsTheWindowAndASaveRepairsIt) {
    QTemporaryDir program;
    ASSERT_TRUE(QDir(m_config.path()).mkpath("Quorvane"));
    const struct {
        const char *what;
        QByteArray content;
    } cases[] = {
        {"binary garbage", QByteArray("\x00\xff\xfe[\x01\x02=\n\x80\x81", 11)},
        {"a broken section", "[Defaults\nDefault%20Drive=\"unterminated\nDefault%20Folder=\\x\n"},
        {"a folder as drive", "[Defaults]\nDefault%20Drive=/definitely/not/a/drive\nDefault%20Folder=/nowhere\n"},
    };
    for (const auto &c : cases) {
        QFile file(configFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.content);
        file.close();
        test::FormRig rig;
        rig.create(m_settings, program.path());
        EXPECT_EQ(QString::fromStdString(rig.get<DirectoryListBox>("DirectoryListBox")->path()), program.path())
            << c.what;
        EXPECT_TRUE(rig.platform.dialogs.messages().empty()) << c.what;
        // Saving rewrites the file, so the damage does not outlive the next save.
        rig.click("btnSetAsDefaultFolder");
        EXPECT_TRUE(rig.platform.dialogs.messages().empty()) << c.what;
        EXPECT_EQ(m_settings.read("Quorvane", "Defaults", "Default Folder"), program.path().toStdString()) << c.what;
    }
}

TEST(StopSignals, EachSignalBecomesOneCallOfItsKindInTheEventLoop) {
    test::ensureApplication();
    const struct {
        int number;
        bool interrupt; // Ctrl+C; every other signal asks to end
    } cases[] = {{SIGINT, true},   {SIGTERM, false}, {SIGHUP, false},  {SIGQUIT, false},
                 {SIGUSR1, false}, {SIGUSR2, false}, {SIGPIPE, false}, {SIGRTMIN, false}};
    int interrupts = 0, ends = 0;
    {
        platform::StopSignals stopSignals([&interrupts] { ++interrupts; }, [&ends] { ++ends; });
        ASSERT_TRUE(stopSignals.installed());
        for (const auto &c : cases) {
            const int interruptsBefore = interrupts, endsBefore = ends;
            std::raise(c.number);
            EXPECT_EQ(interrupts + ends, interruptsBefore + endsBefore) << "the call must wait for the event loop";
            EXPECT_TRUE(QTest::qWaitFor([&] { return interrupts + ends == interruptsBefore + endsBefore + 1; }, 5000))
                << "signal " << c.number;
            EXPECT_EQ(interrupts - interruptsBefore, c.interrupt ? 1 : 0) << "signal " << c.number;
        }
    }
    for (const auto &c : cases) {
        struct sigaction current = {};
        ::sigaction(c.number, nullptr, &current);
        EXPECT_EQ(current.sa_handler, SIG_DFL) << "the previous handler of signal " << c.number << " must come back";
    }
}

// nohup's promise holds: a hang-up that was ignored at the start stays ignored.
TEST(StopSignals, AnIgnoredHangUpStaysIgnored) {
    test::ensureApplication();
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGHUP, &ignore, &previous);
    int calls = 0;
    {
        platform::StopSignals stopSignals([&calls] { ++calls; }, [&calls] { ++calls; });
        std::raise(SIGHUP);
        std::raise(SIGUSR1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 5000));
        QTest::qWait(100);
        EXPECT_EQ(calls, 1) << "SIGUSR1 only";
    }
    struct sigaction current = {};
    ::sigaction(SIGHUP, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_IGN);
    ::sigaction(SIGHUP, &previous, nullptr);
}

} // namespace
} // namespace quorvane::ui
