// The default drive and folder: save, restore at the next start, and every fallback to the program's folder.
#include "FormRig.h"
#include "platform/fake/MemorySettings.h"

#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>

namespace quorvane::ui {
namespace {

constexpr std::string_view kApp = "Quorvane";
constexpr std::string_view kSection = "Defaults";

class StoredDefaultsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(QDir(m_root.path()).mkpath("program"));
        ASSERT_TRUE(QDir(m_root.path()).mkpath("work/sub"));
    }

    QString path(const QString &relative) const { return QDir(m_root.path()).filePath(relative); }

    // A new start of the program on the same settings store.
    std::unique_ptr<test::FormRig> start() {
        auto rig = std::make_unique<test::FormRig>();
        rig->create(m_settings, path("program"));
        return rig;
    }

    QString shownFolder(const test::FormRig &rig) const {
        return QString::fromStdString(rig.get<DirectoryListBox>("DirectoryListBox")->path());
    }

    void store(const std::string &drive, const std::string &folder) {
        m_settings.write(kApp, kSection, "Default Drive", drive);
        m_settings.write(kApp, kSection, "Default Folder", folder);
    }

    QTemporaryDir m_root;
    platform::MemorySettings m_settings;
};

TEST_F(StoredDefaultsTest, SaveThenRestartComesBackOnTheSavedFolder) {
    auto first = start();
    EXPECT_EQ(shownFolder(*first), path("program"));
    // Navigate: up to the temporary folder, then into work.
    ASSERT_TRUE(first->clickEntry("DirectoryListBox", QDir(m_root.path()).dirName(), true));
    ASSERT_TRUE(first->clickEntry("DirectoryListBox", "work", true));
    first->click("btnSetAsDefaultFolder");
    EXPECT_EQ(m_settings.read(kApp, kSection, "Default Folder"), path("work").toStdString());
    EXPECT_EQ(m_settings.read(kApp, kSection, "Default Drive"),
              first->get<QComboBox>("DriveListBox")->currentText().toStdString());
    EXPECT_TRUE(first->platform.dialogs.messages().empty()) << "saving shows nothing";
    first.reset();

    auto second = start();
    EXPECT_EQ(shownFolder(*second), path("work"));
    EXPECT_EQ(second->entries("DirectoryListBox").back(), "sub");
}

TEST_F(StoredDefaultsTest, AHighlightedSubfolderIsWhatIsSaved) {
    store("", "");
    auto first = start();
    ASSERT_TRUE(first->clickEntry("DirectoryListBox", QDir(m_root.path()).dirName(), true));
    ASSERT_TRUE(first->clickEntry("DirectoryListBox", "work"));
    first->click("btnSetAsDefaultFolder");
    EXPECT_EQ(m_settings.read(kApp, kSection, "Default Folder"), path("work").toStdString());
    EXPECT_EQ(shownFolder(*first), m_root.path()) << "highlighting must not open";
    first.reset();
    EXPECT_EQ(shownFolder(*start()), path("work"));
}

TEST_F(StoredDefaultsTest, FallbacksAtStart) {
    const QString rootDrive = QDir::rootPath();
    const struct {
        const char *what;
        std::string drive;
        std::string folder;
        QString expectedFolder; // empty: the root of the stored drive, or a folder on it
    } cases[] = {
        {"nothing stored", "", "", path("program")},
        {"only the folder", "", path("work").toStdString(), path("program")},
        {"only the drive", rootDrive.toStdString(), "", path("program")},
        {"an unknown drive", "Q: [GONE]", path("work").toStdString(), path("program")},
        {"a deleted folder", rootDrive.toStdString(), path("deleted").toStdString(), {}},
    };
    for (const auto &c : cases) {
        store(c.drive, c.folder);
        auto rig = start();
        if (c.expectedFolder.isEmpty()) {
            EXPECT_TRUE(QDir(shownFolder(*rig)).exists() && shownFolder(*rig) != path("deleted")) << c.what;
        } else {
            EXPECT_EQ(shownFolder(*rig), c.expectedFolder) << c.what;
        }
        EXPECT_TRUE(rig->platform.dialogs.messages().empty()) << c.what << ": the start shows no message";
        EXPECT_EQ(m_settings.read(kApp, kSection, "Default Folder"), c.folder) << "stored values are left alone";
    }
}

TEST_F(StoredDefaultsTest, AFailedSaveSaysSo) {
    auto rig = start();
    m_settings.refuseWrites(true);
    rig->click("btnSetAsDefaultFolder");
    ASSERT_EQ(rig->platform.dialogs.messages().size(), 1u);
    EXPECT_EQ(rig->platform.dialogs.messages()[0].title, "Quorvane");
    EXPECT_EQ(rig->platform.dialogs.messages()[0].icon, platform::MessageIcon::Warning);
}

} // namespace
} // namespace quorvane::ui
