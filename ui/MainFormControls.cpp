// The main window's controls on Qt, created from the shared control table.
#include "ui/MainFormControls.h"

#include "ui/MainFormLayout.h"
#include "ui/SerialPortChoice.h"
#include "ui/Twips.h"
#include "ui/WindowProgress.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

namespace quorvane::ui {
namespace {

// Fonts that the system lacks fall back to the closest installed family of the same kind.
QFont font(const QStringList &families, double points, QFont::StyleHint hint, bool bold = false) {
    QFont result;
    result.setFamilies(families);
    result.setStyleHint(hint);
    result.setPointSizeF(points);
    result.setBold(bold);
    return result;
}

QFont arial(double points, bool bold = false) {
    return font({"Arial", "Liberation Sans", "Helvetica", "DejaVu Sans"}, points, QFont::SansSerif, bold);
}

// The layout was drawn for the classic 8 pt dialog font. A fallback with wider letters is made smaller until the
// longest line of an option caption fits beside the option's circle, so that no caption is cut.
QFont dialogFont(double logicalDpi) {
    QFont dialog =
        font({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans"}, 8, QFont::SansSerif);
    const int room = twipsToPixels(2625 - 330, logicalDpi);
    while (dialog.pointSizeF() > 6.5 && QFontMetrics(dialog).horizontalAdvance("Send To EVMBUG IM Command") > room) {
        dialog.setPointSizeF(dialog.pointSizeF() - 0.25);
    }
    return dialog;
}

QFont fontFor(ControlFont kind, const QFont &dialog) {
    switch (kind) {
    case ControlFont::Presenter:
        return font({"Comic Sans MS", "Comic Neue", "Comic Relief", "URW Chancery L", "DejaVu Sans"}, 12,
                    QFont::Cursive);
    case ControlFont::Contact:
        return arial(6.75);
    case ControlFont::Title:
        return arial(14.25, true);
    case ControlFont::Version:
        return arial(6);
    case ControlFont::Dialog:
        break;
    }
    return dialog;
}

QColor qt(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

QLabel *label(const ControlLayout &control, QWidget *parent) {
    auto *result = new QLabel(QString::fromStdString(control.text), parent);
    const Qt::Alignment horizontal = control.align == TextAlign::Centre  ? Qt::AlignHCenter
                                     : control.align == TextAlign::Right ? Qt::AlignRight
                                                                         : Qt::AlignLeft;
    result->setAlignment(horizontal | Qt::AlignVCenter);
    // The two factor labels are two lines high and wrap.
    result->setWordWrap(control.container == "frmFileType" && control.height >= 375);
    if (control.font == ControlFont::Presenter) {
        QPalette red = result->palette();
        red.setColor(QPalette::WindowText, qt(kPresenterColour));
        result->setPalette(red);
    }
    return result;
}

QLabel *titleBox(QWidget *parent) {
    auto *box = new QLabel(parent);
    box->setAutoFillBackground(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, qt(kTitleBoxColour));
    box->setPalette(palette);
    box->setFrameShape(QFrame::Box);
    box->setLineWidth(1);
    return box;
}

// The board's answers keep their columns; a long transfer's echo keeps only its latest lines.
QPlainTextEdit *outputArea(QWidget *parent) {
    auto *area = new QPlainTextEdit(parent);
    area->setReadOnly(true);
    area->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    area->setMaximumBlockCount(5000);
    area->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(8);
    area->setFont(fixed);
    return area;
}

QWidget *createControl(const ControlLayout &control, QWidget *parent) {
    const QString text = QString::fromStdString(control.text);
    switch (control.kind) {
    case ControlKind::Label:
        return label(control, parent);
    case ControlKind::TitleBox:
        return titleBox(parent);
    case ControlKind::Frame: {
        auto *box = new QGroupBox(text, parent);
        box->setAutoFillBackground(true);
        return box;
    }
    case ControlKind::OptionButton: {
        auto *option = new OptionButton(text, parent);
        option->setChecked(control.selected);
        return option;
    }
    case ControlKind::CheckBox: {
        auto *check = new QCheckBox(text, parent);
        check->setChecked(control.selected);
        return check;
    }
    case ControlKind::TextBox:
        return new QLineEdit(text, parent);
    case ControlKind::PushButton:
        return new QPushButton(text, parent);
    case ControlKind::DriveList:
        return new DriveListBox(parent);
    case ControlKind::FolderList:
        return new DirectoryListBox(parent);
    case ControlKind::FileList:
        return new FileListBox(parent);
    case ControlKind::ComboBox: {
        auto *box = new DropDownBox(parent);
        box->setEditText(text);
        return box;
    }
    case ControlKind::TextArea:
        return outputArea(parent);
    }
    return new QWidget(parent);
}

// Every control of the table, named and placed; the focusable ones in the table's order take the tab order.
void createControls(QWidget *window, double logicalDpi) {
    const QFont dialog = window->font();
    QWidget *previousInTabOrder = nullptr;
    for (const ControlLayout &control : mainFormLayout()) {
        QWidget *parent = control.container.empty()
                              ? window
                              : window->findChild<QWidget *>(QString::fromStdString(control.container));
        QWidget *widget = createControl(control, parent);
        widget->setObjectName(QString::fromStdString(control.name));
        widget->setGeometry(twipsRect(control.left, control.top, control.width, control.height, logicalDpi));
        if (control.font != ControlFont::Dialog) {
            widget->setFont(fontFor(control.font, dialog));
        }
        widget->setEnabled(control.enabled);
        widget->setVisible(control.visible);
        if (widget->focusPolicy() != Qt::NoFocus) {
            if (previousInTabOrder != nullptr) {
                QWidget::setTabOrder(previousInTabOrder, widget);
            }
            previousInTabOrder = widget;
        }
        if (control.kind == ControlKind::TitleBox) {
            widget->lower();
        }
    }
}

template <typename Widget> Widget *find(QWidget *window, const char *name) { return window->findChild<Widget *>(name); }

MainFormControls collect(QWidget *w) {
    MainFormControls c{};
    c.Frame1 = find<QGroupBox>(w, "Frame1");
    c.optEVMBUG = find<OptionButton>(w, "optEVMBUG");
    c.optTIBUG = find<OptionButton>(w, "optTIBUG");
    c.btnSetAsDefaultFolder = find<QPushButton>(w, "btnSetAsDefaultFolder");
    c.frmTerminalType = find<QGroupBox>(w, "frmTerminalType");
    c.optTeraTerm = find<OptionButton>(w, "optTeraTerm");
    c.optHyperTerminal = find<OptionButton>(w, "optHyperTerminal");
    c.optSerialPort = find<OptionButton>(w, "optSerialPort");
    c.frmSerialPort = find<QGroupBox>(w, "frmSerialPort");
    c.cboSerialPort = find<DropDownBox>(w, "cboSerialPort");
    c.btnRefreshPorts = find<QPushButton>(w, "btnRefreshPorts");
    c.cboBaudRate = find<DropDownBox>(w, "cboBaudRate");
    c.lblLoadAddress = find<QLabel>(w, "lblLoadAddress");
    c.txtLoadAddress = find<QLineEdit>(w, "txtLoadAddress");
    c.chkVerify = find<QCheckBox>(w, "chkVerify");
    c.txtBoardOutput = find<QPlainTextEdit>(w, "txtBoardOutput");
    c.frmFileType = find<QGroupBox>(w, "frmFileType");
    for (std::size_t index = 0; index < c.optFileType.size(); ++index) {
        c.optFileType[index] = w->findChild<OptionButton *>("optFileType" + QString::number(index));
    }
    c.chkIgnoreAddressTags = find<QCheckBox>(w, "chkIgnoreAddressTags");
    c.txtMultFactorChar = find<QLineEdit>(w, "txtMultFactorChar");
    c.txtMultFactorLine = find<QLineEdit>(w, "txtMultFactorLine");
    c.btnFileTypeHelp = find<QPushButton>(w, "btnFileTypeHelp");
    c.lblMultFactorChar = find<QLabel>(w, "lblMultFactorChar");
    c.lblMultFactorCharx = find<QLabel>(w, "lblMultFactorCharx");
    c.lblMultFactorLinex = find<QLabel>(w, "lblMultFactorLinex");
    c.lblMultFactorLine = find<QLabel>(w, "lblMultFactorLine");
    c.btnStop = find<QPushButton>(w, "btnStop");
    c.FileListBox = find<FileListBox>(w, "FileListBox");
    c.DriveListBox = find<DriveListBox>(w, "DriveListBox");
    c.DirectoryListBox = find<DirectoryListBox>(w, "DirectoryListBox");
    c.btnSend = find<QPushButton>(w, "btnSend");
    c.btnQuit = find<QPushButton>(w, "btnQuit");
    c.Label1 = find<QLabel>(w, "Label1");
    c.Label2 = find<QLabel>(w, "Label2");
    c.lblMorvelsSoftware = find<QLabel>(w, "lblMorvelsSoftware");
    c.lblTitleText = find<QLabel>(w, "lblTitleText");
    c.lblVersion = find<QLabel>(w, "lblVersion");
    c.lblTitleBox = find<QLabel>(w, "lblTitleBox");
    return c;
}

} // namespace

MainFormControls createMainFormControls(QWidget *window, double logicalDpi) {
    window->setFont(dialogFont(logicalDpi));
    window->setAutoFillBackground(true);
    QPalette cream = window->palette();
    cream.setColor(QPalette::Window, qt(kWindowColour));
    window->setPalette(cream);
    sizeMainForm(window, logicalDpi, false);
    createControls(window, logicalDpi);
    MainFormControls controls = collect(window);
    for (unsigned baud : kBaudRates) {
        controls.cboBaudRate->addItem(QString::number(baud));
    }
    controls.cboBaudRate->setEditText(QString::number(kDefaultBaudRate));
    const auto place = [logicalDpi](const ProgressControlPlace &p) {
        return twipsRect(p.left, p.top, p.width, p.height, logicalDpi);
    };
    controls.prgTransfer = new QProgressBar(window);
    controls.prgTransfer->setObjectName(kProgressBarPlace.name);
    controls.prgTransfer->setGeometry(place(kProgressBarPlace));
    controls.prgTransfer->setRange(0, 100);
    controls.prgTransfer->setTextVisible(false);
    controls.prgTransfer->hide();
    controls.lblProgress = new QLabel(window);
    controls.lblProgress->setObjectName(kProgressFiguresPlace.name);
    controls.lblProgress->setGeometry(place(kProgressFiguresPlace));
    controls.lblProgress->hide();
    controls.Label1->setToolTip("How to report a problem: the section \"Reporting problems\" of the README "
                                "(installed as /usr/share/doc/quorvane/README.md)");
    return controls;
}

void sizeMainForm(QWidget *window, double logicalDpi, bool serialFrame) {
    window->setFixedSize(twipsToPixels(kClientWidthTwips, logicalDpi),
                         twipsToPixels(serialFrame ? kSerialClientHeightTwips : kClientHeightTwips, logicalDpi));
}

} // namespace quorvane::ui
