// The window's "Serial port" choice on Qt's offscreen platform, with the simulated board on the fake serial line:
// the frame and the window's size, the port list, the boxes that take part, a Send from the window to the board's
// memory, its output, its end line and its refusals, and the port and rate stored for the next start.
// The simulated board first: Qt defines `emit` as a macro, which the board uses as a name.
#include "tests/support/BoardFarEnd.h"

#include "FormRig.h"
#include "platform/fake/FakeSerialLine.h"
#include "platform/fake/MemorySettings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace quorvane::ui {
namespace {

using quorvane::test::BoardFarEnd;

std::string sampleBytes(const std::string &name) {
    std::ifstream file(std::string(QUORVANE_SAMPLES_FOLDER) + "/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

class SerialWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        for (const char *name : {"demo.obj", "even.bin", "hello.bas"}) {
            writeFile(name, sampleBytes(name));
        }
        writeFile("big.bin", std::string(400, '\x5A'));
        m_settings.write("Quorvane", "Defaults", "Default Drive", "/");
        m_settings.write("Quorvane", "Defaults", "Default Folder", m_folder.path().toStdString());
        startWindow();
    }

    void writeFile(const QString &name, const std::string &content) {
        std::ofstream(QDir(m_folder.path()).filePath(name).toStdString(), std::ios::binary) << content;
    }

    // A new start of the program, with a board just switched on at the far end of its line.
    void startWindow() {
        m_rig.reset();
        m_board = std::make_unique<BoardFarEnd>(
            BoardFarEnd::realistic(boardsim::MonitorKind::Evmbug, boardsim::StartMode::Prompt));
        m_rig = std::make_unique<test::FormRig>();
        m_line = std::make_unique<platform::FakeSerialLine>(m_rig->platform.clock, *m_board);
        m_ports = std::make_unique<platform::FakeSerialPorts>(*m_line);
        m_rig->create(m_settings, m_folder.path());
        m_rig->form->setSerialPorts(*m_ports, m_rig->platform.pump, m_rig->platform.clock);
    }

    std::string memory() const { return m_board->board().memory().toText(); }

    void chooseSerialPort(const QString &port) {
        m_rig->click("optSerialPort");
        m_rig->get<QComboBox>("cboSerialPort")->setEditText(port);
    }

    QString output() const { return m_rig->get<QPlainTextEdit>("txtBoardOutput")->toPlainText(); }
    QString endLine() const { return m_rig->get<QLabel>("Label2")->text(); }
    const std::vector<platform::CapturedMessage> &messages() const { return m_rig->platform.dialogs.messages(); }

    QTemporaryDir m_folder;
    platform::MemorySettings m_settings;
    std::unique_ptr<BoardFarEnd> m_board;
    std::unique_ptr<platform::FakeSerialLine> m_line;
    std::unique_ptr<platform::FakeSerialPorts> m_ports;
    // The window goes first: it holds the ports.
    std::unique_ptr<test::FormRig> m_rig;
};

TEST_F(SerialWindowTest, TheChoiceShowsItsFrameUnderTheRestAndListsThePorts) {
    QWidget *frame = m_rig->get("frmSerialPort");
    const QSize small = m_rig->form->size();
    EXPECT_TRUE(frame->isHidden());
    m_rig->click("optSerialPort");
    EXPECT_FALSE(frame->isHidden());
    EXPECT_GT(m_rig->form->height(), small.height());
    EXPECT_EQ(m_rig->form->width(), small.width());
    EXPECT_GE(m_rig->form->height(), frame->geometry().bottom()) << "the frame lies inside the window";
    auto *ports = m_rig->get<QComboBox>("cboSerialPort");
    ASSERT_EQ(ports->count(), 1);
    EXPECT_EQ(ports->itemText(0), "/dev/ttyFAKE0  Fake adapter");
    EXPECT_EQ(m_rig->get<QComboBox>("cboBaudRate")->currentText(), "9600");

    ports->setEditText("/tmp/typed");
    m_rig->click("btnRefreshPorts");
    EXPECT_EQ(ports->count(), 1) << "a refresh reads the list again, it adds nothing";
    EXPECT_EQ(ports->currentText(), "/tmp/typed") << "a refresh keeps what was typed";

    m_rig->click("optHyperTerminal");
    EXPECT_TRUE(frame->isHidden());
    EXPECT_EQ(m_rig->form->size(), small);
    EXPECT_EQ(m_rig->form->terminalTitleTerm(), "HyperTerminal");
}

TEST_F(SerialWindowTest, TheAddressAndVerifyTakePartOnlyForTheMonitorTransfers) {
    m_rig->click("optSerialPort");
    const struct {
        const char *option;
        bool monitor;
    } cases[] = {{"optFileType0", false}, {"optFileType1", true}, {"optFileType2", true}, {"optFileType3", false}};
    for (const auto &c : cases) {
        m_rig->click(c.option);
        EXPECT_EQ(m_rig->get("txtLoadAddress")->isEnabled(), c.monitor) << c.option;
        EXPECT_EQ(m_rig->get("lblLoadAddress")->isEnabled(), c.monitor) << c.option;
        EXPECT_EQ(m_rig->get("chkVerify")->isEnabled(), c.monitor) << c.option;
    }
}

struct SendCase {
    const char *name;
    const char *file;
    const char *typeOption; // clicked after the file, which picks the loader for object code
    const char *address;
    bool verify;
    QString endLine;   // the start of the end line
    std::string image; // what the board holds
    QString shown;     // a part of the board's output in the window
};

std::ostream &operator<<(std::ostream &out, const SendCase &c) { return out << c.name; }

class SerialWindowSendTest : public SerialWindowTest, public testing::WithParamInterface<SendCase> {};

TEST_P(SerialWindowSendTest, TheBoardHoldsTheFileAndTheWindowShowsItsAnswers) {
    const SendCase &c = GetParam();
    chooseSerialPort("/dev/ttyFAKE0  Fake adapter");
    m_rig->get<QComboBox>("cboBaudRate")->setEditText("19200");
    ASSERT_TRUE(m_rig->clickEntry("FileListBox", c.file));
    m_rig->click(c.typeOption);
    m_rig->get<QLineEdit>("txtLoadAddress")->setText(c.address);
    if (!c.verify) {
        m_rig->click("chkVerify");
    }
    m_rig->click("btnSend");
    EXPECT_EQ(memory(), c.image);
    EXPECT_TRUE(endLine().startsWith(c.endLine)) << endLine().toStdString();
    EXPECT_EQ(endLine().contains(", verified: "), c.verify) << endLine().toStdString();
    EXPECT_TRUE(output().contains(c.shown)) << output().toStdString();
    EXPECT_TRUE(messages().empty()) << messages()[0].text;
    EXPECT_EQ(m_ports->openedBaud, 19200u);
    EXPECT_EQ(m_board->board().stats().lost, 0u);
    EXPECT_TRUE(m_rig->get("btnStop")->isHidden());
    EXPECT_EQ(m_rig->form->windowTitle(), "Quorvane");
}

INSTANTIATE_TEST_SUITE_P(Transfers, SerialWindowSendTest,
                         testing::Values(SendCase{"HexAtAddress", "even.bin", "optFileType2", "fe00", true,
                                                  "Sent even.bin: 5 words in ", sampleBytes("even.image"), "FE08=FE04"},
                                         SendCase{"ObjectWithoutVerify", "demo.obj", "optFileType1", "", false,
                                                  "Sent demo.obj: 10 words in ", sampleBytes("demo.image"), "IM "}),
                         [](const auto &param) { return std::string(param.param.name); });

TEST_F(SerialWindowTest, RefusalsSendNothingAndSayWhy) {
    const struct {
        const char *name;
        const char *port;
        const char *baud;
        const char *address;
        const char *openError;
        std::string message; // a part of the one box shown
        QString endLine;
    } cases[] = {
        {"no port", "", "9600", "FE00", "", "Choose the serial port", ""},
        {"bad rate", "/dev/ttyFAKE0", "96OO", "FE00", "", "The baud rate must be", ""},
        {"bad address", "/dev/ttyFAKE0", "9600", "FE00x", "", "The load address must be", ""},
        {"no address", "/dev/ttyFAKE0", "9600", "", "", "needs its load address", ""},
        {"port in use", "/dev/ttyFAKE0", "9600", "FE00", "The serial port is in use by minicom (process 7).",
         "in use by minicom", "Serial port not opened: nothing was sent"},
    };
    for (const auto &c : cases) {
        startWindow();
        m_ports->openError = c.openError;
        chooseSerialPort(c.port);
        m_rig->get<QComboBox>("cboBaudRate")->setEditText(c.baud);
        ASSERT_TRUE(m_rig->clickEntry("FileListBox", "even.bin"));
        m_rig->get<QLineEdit>("txtLoadAddress")->setText(c.address);
        m_rig->click("btnSend");
        ASSERT_EQ(messages().size(), 1u) << c.name;
        EXPECT_NE(messages()[0].text.find(c.message), std::string::npos) << c.name << ": " << messages()[0].text;
        EXPECT_NE(messages()[0].icon, platform::MessageIcon::None) << c.name;
        EXPECT_EQ(m_line->written(), "") << c.name;
        if (!c.endLine.isEmpty()) {
            EXPECT_EQ(endLine(), c.endLine) << c.name;
        }
    }
}

TEST_F(SerialWindowTest, StopFinishesTheWordUnderWayAndSaysWhere) {
    chooseSerialPort("/dev/ttyFAKE0");
    ASSERT_TRUE(m_rig->clickEntry("FileListBox", "big.bin"));
    m_rig->get<QLineEdit>("txtLoadAddress")->setText("A000");
    bool stopWasShown = false;
    m_rig->platform.pump.at(std::chrono::seconds(2), [this, &stopWasShown] {
        stopWasShown = !m_rig->get("btnStop")->isHidden();
        m_rig->click("btnStop");
    });
    m_rig->click("btnSend");
    EXPECT_TRUE(stopWasShown);
    EXPECT_TRUE(endLine().startsWith("Stopped after ")) << endLine().toStdString();
    EXPECT_TRUE(endLine().endsWith(" of 200 words")) << endLine().toStdString();
    const std::string held = memory();
    const auto words = static_cast<std::size_t>(std::count(held.begin(), held.end(), '\n'));
    EXPECT_GT(words, 0u);
    EXPECT_LT(words, 200u);
    EXPECT_TRUE(endLine().startsWith("Stopped after " + QString::number(words) + " of"))
        << endLine().toStdString() << " " << words;
    EXPECT_TRUE(messages().empty());
}

TEST_F(SerialWindowTest, ThePortAndRateOfASendComeBackAtTheNextStart) {
    chooseSerialPort("/dev/ttyFAKE0  Fake adapter");
    m_rig->get<QComboBox>("cboBaudRate")->setEditText("2400");
    ASSERT_TRUE(m_rig->clickEntry("FileListBox", "even.bin"));
    m_rig->get<QLineEdit>("txtLoadAddress")->setText("FE00");
    m_rig->click("btnSend");
    EXPECT_EQ(m_settings.read("Quorvane", "Defaults", "Default Serial Port"), "/dev/ttyFAKE0");
    EXPECT_EQ(m_settings.read("Quorvane", "Defaults", "Default Baud Rate"), "2400");

    startWindow();
    EXPECT_TRUE(m_rig->get<QAbstractButton>("optTeraTerm")->isChecked()) << "the window starts on Tera Term";
    m_rig->click("optSerialPort");
    EXPECT_EQ(m_rig->get<QComboBox>("cboSerialPort")->currentText(), "/dev/ttyFAKE0");
    EXPECT_EQ(m_rig->get<QComboBox>("cboBaudRate")->currentText(), "2400");

    m_settings.write("Quorvane", "Defaults", "Default Baud Rate", "fast");
    startWindow();
    EXPECT_EQ(m_rig->get<QComboBox>("cboBaudRate")->currentText(), "9600") << "a damaged rate gives the default";
}

} // namespace
} // namespace quorvane::ui
