// The controls of the main window, created with their names, texts, fonts, colours and fixed places.
#pragma once

#include "ui/DirectoryListBox.h"
#include "ui/DriveListBox.h"
#include "ui/DropDownBox.h"
#include "ui/FileListBox.h"
#include "ui/FileTypeOptions.h"
#include "ui/OptionButton.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include <array>

namespace quorvane::ui {

// Every control carries its name as its Qt object name; the members of the optFileType array are
// "optFileType0" to "optFileType3".
struct MainFormControls {
    QGroupBox *Frame1;
    OptionButton *optEVMBUG;
    OptionButton *optTIBUG;
    QPushButton *btnSetAsDefaultFolder;
    QGroupBox *frmTerminalType;
    OptionButton *optTeraTerm;
    OptionButton *optHyperTerminal;
    OptionButton *optSerialPort;
    // Shown while "Serial port" is chosen.
    QGroupBox *frmSerialPort;
    DropDownBox *cboSerialPort;
    QPushButton *btnRefreshPorts;
    DropDownBox *cboBaudRate;
    QLabel *lblLoadAddress;
    QLineEdit *txtLoadAddress;
    QCheckBox *chkVerify;
    QPlainTextEdit *txtBoardOutput;
    QGroupBox *frmFileType;
    std::array<OptionButton *, kFileTypeOptions.size()> optFileType;
    QCheckBox *chkIgnoreAddressTags;
    QLineEdit *txtMultFactorChar;
    QLineEdit *txtMultFactorLine;
    QPushButton *btnFileTypeHelp;
    QLabel *lblMultFactorChar;
    QLabel *lblMultFactorCharx;
    QLabel *lblMultFactorLinex;
    QLabel *lblMultFactorLine;
    QPushButton *btnStop;
    ui::FileListBox *FileListBox;
    ui::DriveListBox *DriveListBox;
    ui::DirectoryListBox *DirectoryListBox;
    QPushButton *btnSend;
    QPushButton *btnQuit;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *lblMorvelsSoftware;
    QLabel *lblTitleText;
    QLabel *lblVersion;
    QLabel *lblTitleBox;
    // Shown in the place of Label2 while a transfer runs: how far, and the time left.
    QProgressBar *prgTransfer;
    QLabel *lblProgress;
};

// Builds the controls on `window` in their state at start and sizes the window to fit; `logicalDpi` scales the
// layout, which is given for 96 dpi.
MainFormControls createMainFormControls(QWidget *window, double logicalDpi);
// The window's fixed size: taller while the serial line's frame shows.
void sizeMainForm(QWidget *window, double logicalDpi, bool serialFrame);

} // namespace quorvane::ui
