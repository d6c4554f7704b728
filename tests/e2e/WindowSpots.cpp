// Where the window's controls are, in the twips of its fixed layout, and the stored folder it opens in.
#include "tests/e2e/WindowSpots.h"

#include "tests/support/TempDir.h"

#include <filesystem>
#include <map>

namespace quorvane::test {
namespace {

// Option buttons and the check box are clicked on their indicator, at the left of the control.
const std::map<std::string, Spot> &spots() {
    constexpr int monitorFrameX = 7920, monitorFrameY = 1440;
    constexpr int typeFrameX = 7920, typeFrameY = 2520;
    constexpr int terminalFrameX = 7920, terminalFrameY = 6000;
    constexpr int serialFrameX = 120, serialFrameY = 8430;
    static const std::map<std::string, Spot> kSpots = {
        {"optTIBUG", {monitorFrameX + 220, monitorFrameY + 367}},
        {"optEVMBUG", {monitorFrameX + 220, monitorFrameY + 727}},
        {"optFileType0", {typeFrameX + 220, typeFrameY + 427}},
        {"optFileType1", {typeFrameX + 220, typeFrameY + 907}},
        {"chkIgnoreAddressTags", {typeFrameX + 500, typeFrameY + 1337}},
        {"optFileType2", {typeFrameX + 220, typeFrameY + 1747}},
        {"optFileType3", {typeFrameX + 220, typeFrameY + 2167}},
        {"txtMultFactorChar", {typeFrameX + 2467, typeFrameY + 2527}},
        {"txtMultFactorLine", {typeFrameX + 2467, typeFrameY + 3007}},
        {"optTeraTerm", {terminalFrameX + 220, terminalFrameY + 367}},
        {"optHyperTerminal", {terminalFrameX + 220, terminalFrameY + 727}},
        {"optSerialPort", {terminalFrameX + 1540, terminalFrameY + 367}},
        // Boxes and the output area are clicked inside their text, away from a list's button.
        {"cboSerialPort", {serialFrameX + 1500, serialFrameY + 457}},
        {"btnRefreshPorts", {serialFrameX + 5017, serialFrameY + 457}},
        {"cboBaudRate", {serialFrameX + 6400, serialFrameY + 457}},
        {"txtLoadAddress", {serialFrameX + 8797, serialFrameY + 457}},
        {"chkVerify", {serialFrameX + 9355, serialFrameY + 457}},
        {"txtBoardOutput", {serialFrameX + 5000, serialFrameY + 1400}},
        {"btnSend", {9307, 7387}},
        {"btnStop", {8587, 8087}},
        {"btnQuit", {10027, 8087}},
        // Below the last of a few files: a click there gives the list the focus and selects nothing.
        {"FileListBox", {5467, 8100}},
    };
    return kSpots;
}

} // namespace

std::optional<Spot> controlSpot(const std::string &control) {
    const auto spot = spots().find(control);
    return spot != spots().end() ? std::optional<Spot>(spot->second) : std::nullopt;
}

bool writeStoredFolder(const std::string &configHome, const std::string &folder) {
    const std::string dir = configHome + "/Quorvane";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    return !error &&
           writeFile(dir + "/Quorvane.conf", "[Defaults]\nDefault%20Drive=/\nDefault%20Folder=" + folder + "\n");
}

} // namespace quorvane::test
