// Creation and placement of the main window's controls.
#include "ui/MainFormControls.h"

#include "ui/Twips.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

namespace quorvane::ui {
namespace {

const QColor kWindowColour(254, 253, 220);
const QColor kTitleBoxColour(255, 255, 192);
const QColor kPresenterColour(255, 0, 0);

struct Placer {
    double dpi;

    template <typename Widget> Widget *place(Widget *widget, const char *name, int l, int t, int w, int h) const {
        widget->setObjectName(name);
        widget->setGeometry(twipsRect(l, t, w, h, dpi));
        return widget;
    }
};

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

QLabel *label(const QString &text, QWidget *parent) { return new QLabel(text, parent); }

void createTopBand(MainFormControls &c, QWidget *w, const Placer &p) {
    c.lblTitleBox = p.place(label({}, w), "lblTitleBox", 120, 360, 10575, 615);
    c.lblTitleBox->setAutoFillBackground(true);
    QPalette box = c.lblTitleBox->palette();
    box.setColor(QPalette::Window, kTitleBoxColour);
    c.lblTitleBox->setPalette(box);
    c.lblTitleBox->setFrameShape(QFrame::Box);
    c.lblTitleBox->setLineWidth(1);

    c.lblMorvelsSoftware = p.place(label("Morvel's Software presents ...", w), "lblMorvelsSoftware", 120, 0, 3855, 375);
    c.lblMorvelsSoftware->setFont(
        font({"Comic Sans MS", "Comic Neue", "Comic Relief", "URW Chancery L", "DejaVu Sans"}, 12, QFont::Cursive));
    QPalette red = c.lblMorvelsSoftware->palette();
    red.setColor(QPalette::WindowText, kPresenterColour);
    c.lblMorvelsSoftware->setPalette(red);

    c.Label1 = p.place(label("Contact: see the README", w), "Label1", 9000, 165, 1695, 225);
    c.Label1->setFont(arial(6.75));
    c.Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c.lblTitleText = p.place(label("Quorvane", w), "lblTitleText", 120, 480, 10575, 375);
    c.lblTitleText->setFont(arial(14.25, true));
    c.lblTitleText->setAlignment(Qt::AlignCenter);
    c.lblVersion = p.place(label("V1.8", w), "lblVersion", 10080, 795, 495, 240);
    c.lblVersion->setFont(arial(6));
    c.lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c.Label2 = p.place(label("Select the text file to send, set options, then click the Send button.", w), "Label2",
                       120, 1080, 7695, 255);
}

void createBrowser(MainFormControls &c, QWidget *w, const Placer &p) {
    c.DirectoryListBox = p.place(new DirectoryListBox(w), "DirectoryListBox", 120, 1425, 2895, 5940);
    c.DriveListBox = p.place(new DriveListBox(w), "DriveListBox", 120, 7515, 2895, 315);
    c.btnSetAsDefaultFolder =
        p.place(new QPushButton("Set As Default Folder", w), "btnSetAsDefaultFolder", 120, 7960, 2895, 375);
    c.FileListBox = p.place(new FileListBox(w), "FileListBox", 3120, 1425, 4695, 6915);
}

QGroupBox *frame(const QString &title, QWidget *parent) {
    auto *box = new QGroupBox(title, parent);
    box->setAutoFillBackground(true);
    return box;
}

void createMonitorAndTerminal(MainFormControls &c, QWidget *w, const Placer &p) {
    c.Frame1 = p.place(frame("TMS99xx(x) Monitor", w), "Frame1", 7920, 1440, 2775, 975);
    c.optTIBUG = p.place(new OptionButton("TIBUG", c.Frame1), "optTIBUG", 120, 240, 1575, 255);
    c.optEVMBUG = p.place(new OptionButton("EVMBUG", c.Frame1), "optEVMBUG", 120, 600, 1815, 255);
    c.optEVMBUG->setChecked(true);

    c.frmTerminalType = p.place(frame("Windows Terminal", w), "frmTerminalType", 7920, 6000, 2775, 975);
    c.optTeraTerm = p.place(new OptionButton("Tera Term", c.frmTerminalType), "optTeraTerm", 120, 240, 1575, 255);
    c.optHyperTerminal =
        p.place(new OptionButton("HyperTerminal", c.frmTerminalType), "optHyperTerminal", 120, 600, 1815, 255);
    c.optTeraTerm->setChecked(true);
}

void createFileTypes(MainFormControls &c, QWidget *w, const Placer &p) {
    c.frmFileType = p.place(frame("File Type", w), "frmFileType", 7920, 2520, 2775, 3375);
    QWidget *f = c.frmFileType;
    auto option = [&](int index, const char *name, int l, int t, int width, int h) {
        c.optFileType[index] =
            p.place(new OptionButton(QString::fromStdString(initialFileTypeCaption(kFileTypeOptions[index])), f), name,
                    l, t, width, h);
    };
    option(0, "optFileType0", 120, 240, 1935, 375);
    c.btnFileTypeHelp = p.place(new QPushButton("?", f), "btnFileTypeHelp", 2160, 240, 495, 375);
    option(1, "optFileType1", 120, 720, 2625, 375);
    c.chkIgnoreAddressTags =
        p.place(new QCheckBox("Ignore Address Tags", f), "chkIgnoreAddressTags", 400, 1150, 1935, 375);
    option(2, "optFileType2", 120, 1560, 2625, 375);
    option(3, "optFileType3", 120, 2040, 1815, 255);
    c.optFileType[0]->setChecked(true);

    c.lblMultFactorChar =
        p.place(label("Delay multiplication factor - each character:", f), "lblMultFactorChar", 405, 2340, 1695, 375);
    c.lblMultFactorCharx = p.place(label("x", f), "lblMultFactorCharx", 2160, 2415, 135, 255);
    c.txtMultFactorChar = p.place(new QLineEdit("1.0", f), "txtMultFactorChar", 2280, 2385, 375, 285);
    c.lblMultFactorLine =
        p.place(label("Delay multiplication factor - each line:", f), "lblMultFactorLine", 405, 2820, 1695, 375);
    c.lblMultFactorLinex = p.place(label("x", f), "lblMultFactorLinex", 2160, 2895, 135, 255);
    c.txtMultFactorLine = p.place(new QLineEdit("1.0", f), "txtMultFactorLine", 2280, 2865, 375, 285);
    for (QLabel *factorLabel : {c.lblMultFactorChar, c.lblMultFactorLine}) {
        factorLabel->setWordWrap(true);
    }
    // The state of the loader type, selected at start: no delay factors, no address tags.
    QWidget *const followers[] = {c.lblMultFactorChar,   c.lblMultFactorCharx, c.txtMultFactorChar,
                                  c.lblMultFactorLine,   c.lblMultFactorLinex, c.txtMultFactorLine,
                                  c.chkIgnoreAddressTags};
    for (QWidget *follower : followers) {
        follower->setEnabled(false);
    }
}

void createButtons(MainFormControls &c, QWidget *w, const Placer &p) {
    c.btnSend = p.place(new QPushButton("Send", w), "btnSend", 7920, 7080, 2775, 615);
    c.btnStop = p.place(new QPushButton("STOP!", w), "btnStop", 7920, 7840, 1335, 495);
    c.btnQuit = p.place(new QPushButton("Quit", w), "btnQuit", 9360, 7840, 1335, 495);
    c.btnStop->hide();
}

void setTabOrder(const MainFormControls &c) {
    QWidget *const order[] = {c.DriveListBox,
                              c.DirectoryListBox,
                              c.FileListBox,
                              c.btnSetAsDefaultFolder,
                              c.optTIBUG,
                              c.optEVMBUG,
                              c.optFileType[0],
                              c.optFileType[1],
                              c.chkIgnoreAddressTags,
                              c.optFileType[2],
                              c.optFileType[3],
                              c.txtMultFactorChar,
                              c.txtMultFactorLine,
                              c.btnFileTypeHelp,
                              c.optTeraTerm,
                              c.optHyperTerminal,
                              c.btnSend,
                              c.btnStop,
                              c.btnQuit};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

} // namespace

MainFormControls createMainFormControls(QWidget *window, double logicalDpi) {
    window->setFont(dialogFont(logicalDpi));
    window->setAutoFillBackground(true);
    QPalette cream = window->palette();
    cream.setColor(QPalette::Window, kWindowColour);
    window->setPalette(cream);
    window->setFixedSize(twipsToPixels(10785, logicalDpi), twipsToPixels(8430, logicalDpi));

    const Placer placer{logicalDpi};
    MainFormControls controls{};
    createTopBand(controls, window, placer);
    createBrowser(controls, window, placer);
    createMonitorAndTerminal(controls, window, placer);
    createFileTypes(controls, window, placer);
    createButtons(controls, window, placer);
    // The title box lies behind the title text and the version, which are drawn over it.
    controls.lblTitleBox->lower();
    setTabOrder(controls);
    return controls;
}

QIcon mainFormIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    // A chip with pins, in colours of the 16-colour palette.
    painter.fillRect(3, 2, 10, 12, Qt::darkGray);
    painter.setPen(Qt::yellow);
    for (int y = 3; y < 14; y += 3) {
        painter.drawLine(0, y, 2, y);
        painter.drawLine(13, y, 15, y);
    }
    painter.fillRect(5, 5, 6, 6, Qt::darkBlue);
    painter.end();
    return QIcon(pixmap);
}

} // namespace quorvane::ui
