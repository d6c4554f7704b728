// The chained browser lists on a real folder tree: contents, highlighting against opening, the file-type choice
// and folders that cannot be read.
#include "FormRig.h"
#include "platform/fake/MemorySettings.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace quorvane::ui {
namespace {

class FileBrowserTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        QDir root(m_root.path());
        ASSERT_TRUE(root.mkpath("program/sub/deeper"));
        ASSERT_TRUE(root.mkpath("program/Other"));
        for (const char *name : {"LOADER.OBJ", "prog.obj", "mem.cas", "image.bin", "dump.Hex", "listing.bas",
                                 "notes.txt", "readme.md", "x.obj.txt", "x.txt.obj", "core", ".hidden.txt"}) {
            touch("program/" + QString(name));
        }
        touch("program/sub/inner.txt");
        m_rig.create(m_settings, programFolder());
    }

    void touch(const QString &relative) {
        QFile file(QDir(m_root.path()).filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QString programFolder() const { return QDir(m_root.path()).filePath("program"); }

    QTemporaryDir m_root;
    platform::MemorySettings m_settings;
    test::FormRig m_rig;
};

TEST_F(FileBrowserTest, ListsShowTheProgramFolderAtFirstStart) {
    EXPECT_EQ(m_rig.entries("FileListBox"),
              QStringList({"dump.Hex", "image.bin", "listing.bas", "LOADER.OBJ", "mem.cas", "notes.txt", "prog.obj",
                           "x.obj.txt", "x.txt.obj"}));
    const QStringList folders = m_rig.entries("DirectoryListBox");
    ASSERT_GE(folders.size(), 4);
    EXPECT_EQ(folders.mid(folders.size() - 3), QStringList({"program", "Other", "sub"}));
    EXPECT_EQ(folders.front(), QDir::rootPath());
    EXPECT_EQ(m_rig.get<QListWidget>("DirectoryListBox")->currentItem()->text().trimmed(), "program");
    EXPECT_EQ(m_rig.form->folderPath(), QDir::toNativeSeparators(programFolder()).toStdString());
    EXPECT_FALSE(m_rig.form->selectedFile().has_value());
    EXPECT_FALSE(m_rig.get<QComboBox>("DriveListBox")->currentText().isEmpty());
}

TEST_F(FileBrowserTest, ClickChoosesTheTypeByTheLastExtension) {
    const struct {
        const char *name;
        FileType type;
    } cases[] = {{"prog.obj", FileType::Loader},
                 {"LOADER.OBJ", FileType::Loader},
                 {"dump.Hex", FileType::HexDump},
                 {"notes.txt", FileType::Text},
                 {"x.txt.obj", FileType::Loader}};
    for (const auto &c : cases) {
        m_rig.click("optFileType1");
        ASSERT_TRUE(m_rig.clickEntry("FileListBox", c.name));
        EXPECT_EQ(m_rig.form->fileType(), c.type) << c.name;
        EXPECT_EQ(m_rig.form->selectedFile(), std::optional<std::string>(c.name));
        EXPECT_EQ(m_rig.get("txtMultFactorChar")->isEnabled(), c.type != FileType::Loader) << c.name;
    }
}

TEST_F(FileBrowserTest, KeyboardSelectionChoosesTheTypeToo) {
    auto *files = m_rig.get<QListWidget>("FileListBox");
    files->setFocus();
    QTest::keyClick(files, Qt::Key_Down);
    QTest::keyClick(files, Qt::Key_Down);
    ASSERT_TRUE(m_rig.form->selectedFile().has_value());
    EXPECT_EQ(m_rig.form->fileType(), fileTypeForName(*m_rig.form->selectedFile()));
}

TEST_F(FileBrowserTest, SingleClickHighlightsAndDoubleClickOpens) {
    ASSERT_TRUE(m_rig.clickEntry("DirectoryListBox", "sub"));
    auto *folders = m_rig.get<DirectoryListBox>("DirectoryListBox");
    EXPECT_EQ(folders->highlightedPath(), QDir(programFolder()).filePath("sub").toStdString());
    EXPECT_EQ(folders->path(), programFolder().toStdString());
    EXPECT_TRUE(m_rig.entries("FileListBox").contains("notes.txt"));

    ASSERT_TRUE(m_rig.clickEntry("DirectoryListBox", "sub", true));
    EXPECT_EQ(folders->path(), QDir(programFolder()).filePath("sub").toStdString());
    EXPECT_EQ(m_rig.entries("FileListBox"), QStringList({"inner.txt"}));
    EXPECT_EQ(m_rig.entries("DirectoryListBox").back(), "deeper");

    ASSERT_TRUE(m_rig.clickEntry("DirectoryListBox", "program", true));
    EXPECT_EQ(folders->path(), programFolder().toStdString());
    EXPECT_TRUE(m_rig.platform.dialogs.messages().empty());
}

TEST_F(FileBrowserTest, OpeningRefreshesTheFileListWithNoSelection) {
    ASSERT_TRUE(m_rig.clickEntry("FileListBox", "notes.txt"));
    ASSERT_TRUE(m_rig.clickEntry("DirectoryListBox", "sub", true));
    EXPECT_FALSE(m_rig.form->selectedFile().has_value());
    EXPECT_EQ(m_rig.form->fileType(), FileType::Text) << "refilling the list must not change the type";
}

TEST_F(FileBrowserTest, AFolderThatCannotBeReadKeepsThePreviousOneAndSaysWhy) {
    ASSERT_TRUE(m_rig.clickEntry("FileListBox", "notes.txt"));
    const QStringList filesBefore = m_rig.entries("FileListBox");
    const QStringList foldersBefore = m_rig.entries("DirectoryListBox");
    ASSERT_TRUE(QDir(programFolder()).rmpath("Other"));
    ASSERT_TRUE(m_rig.clickEntry("DirectoryListBox", "Other", true));

    ASSERT_EQ(m_rig.platform.dialogs.messages().size(), 1u);
    EXPECT_EQ(m_rig.platform.dialogs.messages()[0].title, "Quorvane");
    EXPECT_NE(m_rig.platform.dialogs.messages()[0].text.find("Other"), std::string::npos);
    EXPECT_EQ(QString::fromStdString(m_rig.get<DirectoryListBox>("DirectoryListBox")->path()), programFolder());
    EXPECT_EQ(m_rig.entries("FileListBox"), filesBefore);
    EXPECT_EQ(m_rig.entries("DirectoryListBox"), foldersBefore);
    EXPECT_EQ(m_rig.form->selectedFile(), std::optional<std::string>("notes.txt"));

    ASSERT_TRUE(m_rig.clickEntry("DirectoryListBox", "sub", true));
    EXPECT_EQ(m_rig.entries("FileListBox"), QStringList({"inner.txt"})) << "the lists must stay usable";
}

TEST_F(FileBrowserTest, PickingADriveMovesBothLists) {
    auto *drives = m_rig.get<QComboBox>("DriveListBox");
    const int rootDrive = drives->findData(QDir::rootPath());
    ASSERT_GE(rootDrive, 0) << "the root file system is not in the drive list";
    ASSERT_TRUE(m_rig.clickEntry("FileListBox", "notes.txt"));
    drives->setCurrentIndex(rootDrive);
    emit drives->activated(rootDrive);
    const QString shown = QString::fromStdString(m_rig.get<DirectoryListBox>("DirectoryListBox")->path());
    EXPECT_TRUE(QDir(shown).exists());
    EXPECT_EQ(m_rig.get<FileListBox>("FileListBox")->folder(), shown);
    EXPECT_FALSE(m_rig.form->selectedFile().has_value());
}

TEST_F(FileBrowserTest, ADriveThatCannotBeReadKeepsThePreviousOneAndSaysWhy) {
    auto *drives = m_rig.get<QComboBox>("DriveListBox");
    const int before = drives->currentIndex();
    const QStringList foldersBefore = m_rig.entries("DirectoryListBox");
    // A volume that went away after the list was read (a USB stick pulled out).
    drives->addItem("/media/gone [STICK]", QDir(m_root.path()).filePath("gone"));
    const int gone = drives->count() - 1;
    drives->setCurrentIndex(gone);
    emit drives->activated(gone);

    ASSERT_EQ(m_rig.platform.dialogs.messages().size(), 1u);
    EXPECT_EQ(m_rig.platform.dialogs.messages()[0].title, "Quorvane");
    EXPECT_NE(m_rig.platform.dialogs.messages()[0].text.find("/media/gone [STICK]"), std::string::npos);
    EXPECT_EQ(drives->currentIndex(), before);
    EXPECT_EQ(m_rig.entries("DirectoryListBox"), foldersBefore);
    EXPECT_EQ(QString::fromStdString(m_rig.get<DirectoryListBox>("DirectoryListBox")->path()), programFolder());
}

} // namespace
} // namespace quorvane::ui
