// Restoring and storing the default drive and folder in the per-user settings store.
#include "ui/StoredDefaults.h"

namespace quorvane::ui {
namespace {

constexpr std::string_view kApplication = "Quorvane";
constexpr std::string_view kSection = "Defaults";
constexpr std::string_view kDriveKey = "Default Drive";
constexpr std::string_view kFolderKey = "Default Folder";
constexpr std::string_view kSerialPortKey = "Default Serial Port";
constexpr std::string_view kBaudRateKey = "Default Baud Rate";

} // namespace

StoredDefaults::StoredDefaults(platform::Settings &settings, FolderBrowser &browser, platform::Dialogs &dialogs,
                               std::string programFolder)
    : m_settings(settings), m_browser(browser), m_dialogs(dialogs), m_programFolder(std::move(programFolder)) {}

void StoredDefaults::restore() {
    const std::string drive = m_settings.read(kApplication, kSection, kDriveKey);
    const std::string folder = m_settings.read(kApplication, kSection, kFolderKey);
    if (drive.empty() || folder.empty() || !m_browser.setDrive(drive, OnFailure::Ignore)) {
        showProgramFolder();
        return;
    }
    // A stored folder that has gone since leaves the browser on the stored drive, without a word.
    m_browser.setFolder(folder, OnFailure::Ignore);
}

bool StoredDefaults::save() {
    const bool stored = m_settings.write(kApplication, kSection, kDriveKey, m_browser.driveText()) &&
                        m_settings.write(kApplication, kSection, kFolderKey, m_browser.highlightedFolder());
    if (!stored) {
        m_dialogs.showMessage("Quorvane", "The default folder could not be stored: the settings cannot be written.",
                              platform::MessageIcon::Warning);
    }
    return stored;
}

SerialDefaults StoredDefaults::serialDefaults() {
    const auto baud = parseBaudRate(m_settings.read(kApplication, kSection, kBaudRateKey));
    return {m_settings.read(kApplication, kSection, kSerialPortKey), baud.value_or(kDefaultBaudRate)};
}

bool StoredDefaults::saveSerial(const SerialDefaults &serial) {
    return m_settings.write(kApplication, kSection, kSerialPortKey, serial.port) &&
           m_settings.write(kApplication, kSection, kBaudRateKey, std::to_string(serial.baud));
}

void StoredDefaults::showProgramFolder() {
    m_browser.setDrive(m_browser.driveTextFor(m_programFolder), OnFailure::Ignore);
    m_browser.setFolder(m_programFolder, OnFailure::Ignore);
}

} // namespace quorvane::ui
