// The table of the main window's controls.
#include "ui/MainFormLayout.h"

#include "QuorvaneVersion.h"

#include "ui/FileTypeOptions.h"
#include "ui/SerialPortChoice.h"

namespace quorvane::ui {
namespace {

using K = ControlKind;
using F = ControlFont;

// Under everything else, hidden until "Serial port" is chosen.
void addSerialFrame(std::vector<ControlLayout> &c) {
    const std::string frame = "frmSerialPort";
    c.push_back({frame, K::Frame, "", 120, kSerialFrameTop, 10575, kSerialFrameHeight, "Serial Port"});
    c.back().visible = false;
    c.push_back({"lblSerialPort", K::Label, frame, 120, 330, 435, 255, "Port:"});
    c.push_back({"cboSerialPort", K::ComboBox, frame, 555, 300, 3975, 315, ""});
    c.push_back({"btnRefreshPorts", K::PushButton, frame, 4590, 300, 855, 315, "Refresh"});
    c.push_back({"lblBaudRate", K::Label, frame, 5565, 330, 480, 255, "Baud:"});
    c.push_back({"cboBaudRate", K::ComboBox, frame, 6045, 300, 1095, 315, std::to_string(kDefaultBaudRate)});
    c.push_back({"lblLoadAddress", K::Label, frame, 7260, 330, 1200, 255, "Load address:"});
    c.push_back({"txtLoadAddress", K::TextBox, frame, 8460, 300, 675, 315, ""});
    c.push_back({"chkVerify", K::CheckBox, frame, 9255, 300, 1080, 315, "Verify"});
    c.back().selected = true;
    c.push_back({"txtBoardOutput", K::TextArea, frame, 120, 735, 10335, 1455, ""});
}

std::vector<ControlLayout> buildLayout() {
    std::vector<ControlLayout> c;
    c.push_back({"DriveListBox", K::DriveList, "", 120, 7515, 2895, 315, ""});
    c.push_back({"DirectoryListBox", K::FolderList, "", 120, 1425, 2895, 5940, ""});
    c.push_back({"FileListBox", K::FileList, "", 3120, 1425, 4695, 6915, ""});
    c.push_back({"btnSetAsDefaultFolder", K::PushButton, "", 120, 7960, 2895, 375, "Set As Default Folder"});
    c.push_back({"Frame1", K::Frame, "", 7920, 1440, 2775, 975, "TMS99xx(x) Monitor"});
    c.push_back({"optTIBUG", K::OptionButton, "Frame1", 120, 240, 1575, 255, "TIBUG"});
    c.push_back({"optEVMBUG", K::OptionButton, "Frame1", 120, 600, 1815, 255, "EVMBUG"});
    c.back().selected = true;
    c.push_back({"frmFileType", K::Frame, "", 7920, 2520, 2775, 3375, "File Type"});
    c.push_back({"optFileType0", K::OptionButton, "frmFileType", 120, 240, 1935, 375,
                 initialFileTypeCaption(FileType::Loader)});
    c.back().selected = true;
    c.push_back({"optFileType1", K::OptionButton, "frmFileType", 120, 720, 2625, 375,
                 initialFileTypeCaption(FileType::TaggedObject)});
    c.push_back({"chkIgnoreAddressTags", K::CheckBox, "frmFileType", 400, 1150, 1935, 375, "Ignore Address Tags"});
    c.back().enabled = false;
    c.push_back({"optFileType2", K::OptionButton, "frmFileType", 120, 1560, 2625, 375,
                 initialFileTypeCaption(FileType::HexDump)});
    c.push_back(
        {"optFileType3", K::OptionButton, "frmFileType", 120, 2040, 1815, 255, initialFileTypeCaption(FileType::Text)});
    c.push_back({"txtMultFactorChar", K::TextBox, "frmFileType", 2280, 2385, 375, 285, "1.0"});
    c.back().enabled = false;
    c.push_back({"txtMultFactorLine", K::TextBox, "frmFileType", 2280, 2865, 375, 285, "1.0"});
    c.back().enabled = false;
    c.push_back({"btnFileTypeHelp", K::PushButton, "frmFileType", 2160, 240, 495, 375, "?"});
    c.push_back({"lblMultFactorChar", K::Label, "frmFileType", 405, 2340, 1695, 375,
                 "Delay multiplication factor - each character:"});
    c.push_back({"lblMultFactorCharx", K::Label, "frmFileType", 2160, 2415, 135, 255, "x"});
    c.push_back({"lblMultFactorLine", K::Label, "frmFileType", 405, 2820, 1695, 375,
                 "Delay multiplication factor - each line:"});
    c.push_back({"lblMultFactorLinex", K::Label, "frmFileType", 2160, 2895, 135, 255, "x"});
    for (std::size_t i = c.size() - 4; i < c.size(); ++i) {
        c[i].enabled = false;
    }
    c.push_back({"frmTerminalType", K::Frame, "", 7920, 6000, 2775, 975, "Windows Terminal"});
    c.push_back({"optTeraTerm", K::OptionButton, "frmTerminalType", 120, 240, 1275, 255, "Tera Term"});
    c.back().selected = true;
    c.push_back({"optHyperTerminal", K::OptionButton, "frmTerminalType", 120, 600, 1815, 255, "HyperTerminal"});
    c.push_back({"optSerialPort", K::OptionButton, "frmTerminalType", 1440, 240, 1275, 255, "Serial port"});
    addSerialFrame(c);
    c.push_back({"btnSend", K::PushButton, "", 7920, 7080, 2775, 615, "Send"});
    c.push_back({"btnStop", K::PushButton, "", 7920, 7840, 1335, 495, "STOP!"});
    c.back().visible = false;
    c.push_back({"btnQuit", K::PushButton, "", 9360, 7840, 1335, 495, "Quit"});
    c.push_back(
        {"lblMorvelsSoftware", K::Label, "", 120, 0, 3855, 375, "Morvel's Software presents ...", F::Presenter});
    c.push_back(
        {"Label1", K::Label, "", 9000, 165, 1695, 225, "Report problems: README", F::Contact, TextAlign::Right});
    c.push_back({"lblTitleText", K::Label, "", 120, 480, 10575, 375, "Quorvane", F::Title, TextAlign::Centre});
    c.push_back({"lblVersion", K::Label, "", 10080, 795, 495, 240, versionCaption(), F::Version, TextAlign::Right});
    c.push_back({"Label2", K::Label, "", 120, 1080, 7695, 255,
                 "Select the text file to send, set options, then click the Send button."});
    // Behind the title text and the version, which are drawn over it.
    c.push_back({"lblTitleBox", K::TitleBox, "", 120, 360, 10575, 615, ""});
    return c;
}

} // namespace

const std::vector<ControlLayout> &mainFormLayout() {
    static const std::vector<ControlLayout> layout = buildLayout();
    return layout;
}

std::string versionCaption() { return kVersionLabel; }

} // namespace quorvane::ui
