// The main window's handlers: options, help, Send, STOP!, Quit, and the answers to the engine.
#include "ui/MainForm.h"

#include "engine/SendDriver.h"
#include "ui/AppIconImage.h"
#include "ui/HelpPages.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace quorvane::ui {

MainForm::MainForm(platform::Dialogs &dialogs, platform::Settings &settings, const QString &programFolder,
                   QWidget *parent)
    : QWidget(parent), m_dialogs(dialogs), m_controls(createMainFormControls(this, logicalDpiX())),
      m_programEnd([] { QCoreApplication::exit(0); }) {
    setWindowTitle(kWindowTitle);
    setWindowIcon(appIcon());
    m_browser = std::make_unique<FileBrowser>(*m_controls.DriveListBox, *m_controls.DirectoryListBox,
                                              *m_controls.FileListBox, dialogs);
    m_defaults = std::make_unique<StoredDefaults>(settings, m_browser->rules(), dialogs, programFolder.toStdString());
    connectHandlers();
    Form_Load();
}

MainForm::~MainForm() = default;

void MainForm::setSendDriver(engine::SendDriver *driver, platform::Clock &clock) {
    m_driver = driver;
    m_progress = std::make_unique<WindowProgress>(clock);
}

void MainForm::setSerialPorts(platform::SerialPorts &ports, platform::EventPump &pump, platform::Clock &clock) {
    m_ports = &ports;
    m_serialMessages = std::make_unique<SerialMessages>(m_dialogs);
    m_serial = std::make_unique<engine::SerialSendOperation>(
        *this, engine::SerialServices{ports, pump, clock, *m_serialMessages, *this});
}

void MainForm::connectHandlers() {
    const MainFormControls &c = m_controls;
    connect(c.FileListBox, &FileListBox::fileClicked, this, &MainForm::FileListBox_Click);
    connect(c.FileListBox, &FileListBox::fileDoubleClicked, this, &MainForm::FileListBox_DblClick);
    connect(c.btnSetAsDefaultFolder, &QPushButton::clicked, this, &MainForm::btnSetAsDefaultFolder_Click);
    // A click on the option already selected runs its handler too; toggled catches selection by arrow keys.
    connect(c.optTIBUG, &QRadioButton::clicked, this, &MainForm::optTIBUG_Click);
    connect(c.optEVMBUG, &QRadioButton::clicked, this, &MainForm::optEVMBUG_Click);
    connect(c.optTIBUG, &QRadioButton::toggled, this, [this](bool on) { on ? optTIBUG_Click() : void(); });
    connect(c.optEVMBUG, &QRadioButton::toggled, this, [this](bool on) { on ? optEVMBUG_Click() : void(); });
    for (int index = 0; index < static_cast<int>(kFileTypeOptions.size()); ++index) {
        connect(c.optFileType[index], &QRadioButton::clicked, this, [this, index] { optFileType_Click(index); });
        connect(c.optFileType[index], &QRadioButton::toggled, this,
                [this, index](bool on) { on ? optFileType_Click(index) : void(); });
    }
    connect(c.btnFileTypeHelp, &QPushButton::clicked, this, &MainForm::btnFileTypeHelp_Click);
    connect(c.optSerialPort, &QRadioButton::toggled, this, &MainForm::optSerialPort_Click);
    connect(c.btnRefreshPorts, &QPushButton::clicked, this, &MainForm::btnRefreshPorts_Click);
    connect(c.cboSerialPort, &DropDownBox::aboutToDropDown, this, &MainForm::btnRefreshPorts_Click);
    connect(c.btnSend, &QPushButton::clicked, this, &MainForm::btnSend_Click);
    connect(c.btnStop, &QPushButton::clicked, this, &MainForm::btnStop_Click);
    connect(c.btnQuit, &QPushButton::clicked, this, &MainForm::btnQuit_Click);
    // Enter in a factor box confirms the edit: a transfer that holds for it goes on.
    for (QLineEdit *box : {c.txtMultFactorChar, c.txtMultFactorLine}) {
        connect(box, &QLineEdit::returnPressed, this, [this] {
            if (m_driver) {
                m_driver->resume();
            }
        });
    }
}

void MainForm::Form_Load() {
    m_defaults->restore();
    const SerialDefaults serial = m_defaults->serialDefaults();
    m_controls.cboSerialPort->setEditText(QString::fromStdString(serial.port));
    m_controls.cboBaudRate->setEditText(QString::number(serial.baud));
}

void MainForm::FileListBox_Click() {
    const std::optional<QString> name = m_controls.FileListBox->selectedName();
    if (!name) {
        return;
    }
    // As the user's click would: the option is selected and its handler runs, even if it was selected already.
    const int index = fileTypeOption(fileTypeForName(name->toStdString()));
    m_controls.optFileType[index]->setChecked(true);
    optFileType_Click(index);
}

void MainForm::FileListBox_DblClick() {
    FileListBox_Click();
    btnSend_Click();
}

void MainForm::btnSetAsDefaultFolder_Click() { m_defaults->save(); }

void MainForm::optTIBUG_Click() { setFileTypeCaptions(Monitor::Tibug); }

void MainForm::optEVMBUG_Click() { setFileTypeCaptions(Monitor::Evmbug); }

void MainForm::setFileTypeCaptions(Monitor monitor) {
    for (FileType type : {FileType::TaggedObject, FileType::HexDump}) {
        m_controls.optFileType[fileTypeOption(type)]->setText(QString::fromStdString(fileTypeCaption(type, monitor)));
    }
}

void MainForm::optFileType_Click(int index) {
    const EnabledState state = enabledStateFor(kFileTypeOptions[index]);
    const MainFormControls &c = m_controls;
    QWidget *const factors[] = {c.lblMultFactorChar, c.lblMultFactorCharx, c.txtMultFactorChar,
                                c.lblMultFactorLine, c.lblMultFactorLinex, c.txtMultFactorLine};
    for (QWidget *factor : factors) {
        factor->setEnabled(state.delayFactors);
    }
    c.chkIgnoreAddressTags->setEnabled(state.ignoreAddressTags);
    showSerialOptions();
}

void MainForm::showSerialOptions() {
    const SerialOptionState state = serialOptionState(fileType());
    const MainFormControls &c = m_controls;
    c.lblLoadAddress->setEnabled(state.loadAddress);
    c.txtLoadAddress->setEnabled(state.loadAddress);
    c.chkVerify->setEnabled(state.verify);
}

// The frame of the serial line shows under everything else while the choice holds; the window grows to take it.
void MainForm::optSerialPort_Click() {
    const bool chosen = m_controls.optSerialPort->isChecked();
    if (chosen && m_listedPorts.empty()) {
        btnRefreshPorts_Click();
    }
    showSerialOptions();
    m_controls.frmSerialPort->setVisible(chosen);
    sizeMainForm(this, logicalDpiX(), chosen);
}

// The text in the box stays: a port typed by hand, or one that has gone away, is not lost by reading the list.
void MainForm::btnRefreshPorts_Click() {
    if (!m_ports) {
        return;
    }
    DropDownBox *box = m_controls.cboSerialPort;
    const QString text = box->currentText();
    m_listedPorts = m_ports->list();
    box->clear();
    for (const platform::SerialPortInfo &port : m_listedPorts) {
        box->addItem(QString::fromStdString(portEntryText(port)));
    }
    box->setEditText(text);
}

void MainForm::btnFileTypeHelp_Click() {
    // The monitor is read once: the pages stay consistent even if it changes while a page is open.
    for (const std::string &page : helpPages(tibugSelected() ? Monitor::Tibug : Monitor::Evmbug)) {
        m_dialogs.showMessage("Quorvane", page, platform::MessageIcon::None);
    }
}

void MainForm::btnSend_Click() {
    if (!m_driver || (m_serial && m_serial->running())) {
        return;
    }
    if (m_controls.optSerialPort->isChecked() && !m_driver->running()) {
        sendSerial();
        return;
    }
    const WindowSendEnd end = m_progress->send(*m_driver, *this);
    if (end.ran) {
        showTransferEnd(end.endLine);
    }
}

// The form is checked before anything is opened; the port and rate that pass are kept for the next start.
void MainForm::sendSerial() {
    if (!m_serial) {
        m_dialogs.showMessage("Quorvane", "This build of Quorvane has no serial line. Nothing was sent.",
                              platform::MessageIcon::Warning);
        return;
    }
    const MainFormControls &c = m_controls;
    const SerialFormRequest form =
        serialRequestFor({c.cboSerialPort->currentText().toStdString(), c.cboBaudRate->currentText().toStdString(),
                          c.txtLoadAddress->text().toStdString(), c.chkVerify->isChecked(), fileType()},
                         m_listedPorts);
    if (!form.request) {
        m_dialogs.showMessage("Quorvane", form.problem, platform::MessageIcon::Warning);
        return;
    }
    m_defaults->saveSerial({form.request->port, form.request->baud});
    c.txtBoardOutput->clear();
    m_outputText = {};
    m_serialMessages->takeNotes();
    m_progress->prepareSerial(folderPath(), selectedFile().value_or(std::string()), fileType());
    const engine::SerialEnd end = m_serial->Send(*form.request);
    showTransferEnd(m_progress->finish(end, m_serialMessages->takeNotes()));
}

void MainForm::boardOutput(std::string_view bytes) {
    const std::string text = m_outputText.append(bytes);
    if (text.empty()) {
        return;
    }
    QPlainTextEdit *area = m_controls.txtBoardOutput;
    area->moveCursor(QTextCursor::End);
    area->insertPlainText(QString::fromStdString(text));
    area->ensureCursorVisible();
}

void MainForm::btnStop_Click() { m_controls.btnStop->hide(); }

void MainForm::btnQuit_Click() { endProgram(); }

void MainForm::closeEvent(QCloseEvent *event) {
    endProgram();
    event->accept();
}

// Ends at once, also from inside a transfer: the engine's waits return, nothing more is typed, and the
// Send handler unwinds to the event loop, which is left.
void MainForm::endProgram() {
    if (m_ending) {
        return;
    }
    m_ending = true;
    if (m_driver) {
        m_driver->abandon();
    }
    if (m_serial) {
        m_serial->abandon();
    }
    hide();
    m_programEnd();
}

std::optional<std::string> MainForm::selectedFile() {
    const std::optional<QString> name = m_controls.FileListBox->selectedName();
    return name ? std::optional(name->toStdString()) : std::nullopt;
}

std::string MainForm::folderPath() { return m_controls.DirectoryListBox->path(); }

engine::FileType MainForm::fileType() {
    for (std::size_t index = 0; index < kFileTypeOptions.size(); ++index) {
        if (m_controls.optFileType[index]->isChecked()) {
            return kFileTypeOptions[index];
        }
    }
    return FileType::Text;
}

bool MainForm::tibugSelected() { return m_controls.optTIBUG->isChecked(); }

std::string MainForm::terminalTitleTerm() {
    return m_controls.optTeraTerm->isChecked() ? "Tera Term" : "HyperTerminal";
}

bool MainForm::ignoreAddressTags() { return m_controls.chkIgnoreAddressTags->isChecked(); }

std::string MainForm::charFactorText() { return m_controls.txtMultFactorChar->text().toStdString(); }

std::string MainForm::lineFactorText() { return m_controls.txtMultFactorLine->text().toStdString(); }

// isHidden, not isVisible: the button's own state counts, also while the window itself is not shown.
bool MainForm::stopVisible() { return !m_controls.btnStop->isHidden(); }

void MainForm::setStopVisible(bool visible) {
    m_controls.btnStop->setVisible(visible);
    if (!visible) {
        m_controls.btnStop->setToolTip({});
    }
}

std::string MainForm::windowCaption() { return windowTitle().toStdString(); }

void MainForm::progress(std::uint64_t done, std::uint64_t total) {
    if (!m_progress) {
        return;
    }
    m_progress->update(done, total);
    showProgress();
}

void MainForm::showProgress() {
    const MainFormControls &c = m_controls;
    c.Label2->hide();
    c.prgTransfer->setValue(m_progress->percent());
    c.lblProgress->setText(QString::fromStdString(m_progress->figures()));
    c.prgTransfer->show();
    c.lblProgress->show();
    // Every change of the title goes to the window manager and the taskbar: only when the percentage moves.
    const QString title = QString::fromStdString(m_progress->title());
    if (title != windowTitle()) {
        setWindowTitle(title);
    }
}

// The instruction line comes back, saying how the transfer ended.
void MainForm::showTransferEnd(const std::optional<std::string> &line) {
    const MainFormControls &c = m_controls;
    c.prgTransfer->hide();
    c.lblProgress->hide();
    if (line) {
        c.Label2->setText(QString::fromStdString(*line));
    }
    c.Label2->show();
    setWindowTitle(kWindowTitle);
}

// The caption says why nothing is typed; the window walk that reads the caption runs only when no transfer does.
void MainForm::holding(bool held) {
    if (m_progress) {
        m_progress->setHolding(held);
        setWindowTitle(QString::fromStdString(m_progress->title()));
    }
}

// A box would take the focus from the terminal in the middle of the transfer; the note waits on STOP!, which is
// shown for exactly as long as the transfer it concerns.
void MainForm::notice(std::string_view text) {
    m_controls.btnStop->setToolTip(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace quorvane::ui
