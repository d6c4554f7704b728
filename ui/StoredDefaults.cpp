// Restoring and storing the default drive and folder in the per-user settings store.
#include "ui/StoredDefaults.h"

namespace quorvane::ui {
namespace {

constexpr std::string_view kApplication = "Quorvane";
constexpr std::string_view kSection = "Defaults";
constexpr std::string_view kDriveKey = "Default Drive";
constexpr std::string_view kFolderKey = "Default Folder";

} // namespace

StoredDefaults::StoredDefaults(platform::Settings &settings, FileBrowser &browser, platform::Dialogs &dialogs,
                               QString programFolder)
    : m_settings(settings), m_browser(browser), m_dialogs(dialogs), m_programFolder(std::move(programFolder)) {}

void StoredDefaults::restore() {
    const QString drive = QString::fromStdString(m_settings.read(kApplication, kSection, kDriveKey));
    const QString folder = QString::fromStdString(m_settings.read(kApplication, kSection, kFolderKey));
    if (drive.isEmpty() || folder.isEmpty() || !m_browser.setDrive(drive, OnFailure::Ignore)) {
        showProgramFolder();
        return;
    }
    // A stored folder that has gone since leaves the browser on the stored drive, without a word.
    m_browser.setFolder(folder, OnFailure::Ignore);
}

bool StoredDefaults::save() {
    const bool stored =
        m_settings.write(kApplication, kSection, kDriveKey, m_browser.driveText().toStdString()) &&
        m_settings.write(kApplication, kSection, kFolderKey, m_browser.highlightedFolder().toStdString());
    if (!stored) {
        m_dialogs.showMessage("Quorvane",
                              "The default folder could not be stored: the settings file cannot be written.",
                              platform::MessageIcon::Warning);
    }
    return stored;
}

void StoredDefaults::showProgramFolder() {
    m_browser.setDrive(m_browser.driveTextFor(m_programFolder), OnFailure::Ignore);
    m_browser.setFolder(m_programFolder, OnFailure::Ignore);
}

} // namespace quorvane::ui
