// quorvane.exe under Wine, driven by its controls' names: the state at start, options and captions, the file
// browser, the help pages, the stored default folder across a restart, and transfers into wintestwindow with
// the simulated board behind it, STOP! and Quit in the middle of one.
#include "ProgramWindow.h"
#include "TestWindowProcess.h"
#include "platform/win32/Win32Text.h"
#include "ui/HelpPages.h"
#include "ui/MainFormLayout.h"
#include "ui/SerialPortChoice.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quorvane::ui::win32::test {
namespace {

namespace fs = std::filesystem;
using platform::win32::toUtf8;
using platform::win32::toWide;
using platform::win32::test::TestWindowProcess;

const std::wstring kTeraTermTitle = L"COM1 - Tera Term VT";
constexpr wchar_t kDefaultsKey[] = L"Software\\Quorvane\\Defaults";

std::string readFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::wstring storedValue(const wchar_t *name) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kDefaultsKey, name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

void store(const wchar_t *name, const std::wstring &value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kDefaultsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// What a text transfer types: a CR between lines, none after the last.
std::string typedText(const std::string &file) {
    std::string typed;
    for (std::size_t i = 0; i < file.size(); ++i) {
        if (file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n') {
            continue;
        }
        typed += file[i] == '\n' ? '\r' : file[i];
    }
    return typed.substr(0, typed.find_last_not_of('\r') + 1);
}

// The open message box of the program, if any.
HWND messageBox(HWND owner) {
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", L"Quorvane")) != nullptr) {
        if (GetWindow(box, GW_OWNER) == owner && IsWindowVisible(box)) {
            return box;
        }
    }
    return nullptr;
}

std::wstring boxText(HWND box) {
    wchar_t text[4096] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 4096);
    return text;
}

class Win32Window : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_dir = fs::path(temp) / ("quorvane-window-" + std::to_string(GetCurrentProcessId()));
        fs::create_directories(m_dir / "files" / "sub");
        for (const char *name : {"demo.obj", "even.bin", "ascii.txt", "hello.bas"}) {
            fs::copy_file(fs::path(QUORVANE_SAMPLES) / name, m_dir / "files" / name);
        }
        std::ofstream(m_dir / "files" / "LOADER.OBJ") << "x";
        std::ofstream(m_dir / "files" / "readme.md") << "not listed";
        store(L"Default Drive", m_dir.wstring().substr(0, 2));
        store(L"Default Folder", (m_dir / "files").wstring());
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quorvane");
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    std::unique_ptr<ProgramWindow> start() {
        auto program = std::make_unique<ProgramWindow>(QUORVANE_PROGRAM);
        EXPECT_NE(program->window(), nullptr) << "quorvane.exe did not show its window";
        return program;
    }

    std::unique_ptr<TestWindowProcess> terminal(const std::wstring &boardArguments, const std::string &log) {
        std::wstring arguments;
        if (!boardArguments.empty()) {
            arguments = L"--board " + boardArguments + L" --image \"" + (m_dir / (log + ".image")).wstring() + L"\"";
        }
        auto window = std::make_unique<TestWindowProcess>(QUORVANE_TEST_WINDOW, kTeraTermTitle, m_dir / log, arguments);
        EXPECT_NE(window->window(), nullptr) << "wintestwindow did not show its window";
        return window;
    }

    // Presses Send and waits for the transfer's STOP! to come and go.
    static bool sendAndWait(const ProgramWindow &program, DWORD ms = 60000) {
        program.postClick(L"btnSend");
        return waitFor([&] { return program.visible(L"btnStop"); }, 5000) &&
               waitFor([&] { return !program.visible(L"btnStop"); }, ms);
    }

    fs::path m_dir;
};

TEST_F(Win32Window, StartsInItsStateAtStartWithEveryControlNamed) {
    auto program = start();
    ASSERT_NE(program->window(), nullptr);
    for (const ControlLayout &control : mainFormLayout()) {
        EXPECT_NE(program->control(toWide(control.name)), nullptr) << control.name;
    }
    for (const wchar_t *on : {L"optEVMBUG", L"optFileType0", L"optTeraTerm"}) {
        EXPECT_TRUE(program->checked(on)) << toUtf8(on);
    }
    for (const wchar_t *off : {L"optTIBUG", L"optFileType1", L"optFileType2", L"optFileType3", L"optHyperTerminal",
                               L"chkIgnoreAddressTags"}) {
        EXPECT_FALSE(program->checked(off)) << toUtf8(off);
    }
    for (const char *factor : kDelayFactorControls) {
        EXPECT_FALSE(program->enabled(toWide(factor))) << factor;
    }
    EXPECT_FALSE(program->enabled(L"chkIgnoreAddressTags"));
    EXPECT_EQ(program->text(L"txtMultFactorChar"), L"1.0");
    EXPECT_EQ(program->text(L"txtMultFactorLine"), L"1.0");
    EXPECT_FALSE(program->visible(L"btnStop"));
    EXPECT_EQ(program->text(L"optFileType2"), L"Hex Dump -" + std::wstring(27, L' ') + L"Send To EVMBUG IM Command");
    EXPECT_EQ(program->text(L"lblVersion"), toWide(versionCaption()));
    // The stored folder, its matching files in any letter case, no file selected.
    EXPECT_EQ(program->selected(L"DirectoryListBox"), L"files");
    EXPECT_EQ(program->entries(L"FileListBox"),
              (std::vector<std::wstring>{L"ascii.txt", L"demo.obj", L"even.bin", L"hello.bas", L"LOADER.OBJ"}));
    EXPECT_EQ(program->selected(L"FileListBox"), L"");
}

TEST_F(Win32Window, OptionsRelabelAndEnableAsTheTypeAndMonitorSay) {
    auto program = start();
    ASSERT_NE(program->window(), nullptr);
    program->click(L"optTIBUG");
    EXPECT_TRUE(program->checked(L"optTIBUG"));
    EXPECT_FALSE(program->checked(L"optEVMBUG"));
    EXPECT_EQ(program->text(L"optFileType1"), toWide(fileTypeCaption(FileType::TaggedObject, Monitor::Tibug)));
    EXPECT_EQ(program->text(L"optFileType2"), toWide(fileTypeCaption(FileType::HexDump, Monitor::Tibug)));
    program->click(L"optFileType1");
    program->click(L"chkIgnoreAddressTags");
    EXPECT_TRUE(program->enabled(L"chkIgnoreAddressTags"));
    EXPECT_TRUE(program->enabled(L"txtMultFactorLine"));
    program->click(L"optFileType2");
    EXPECT_FALSE(program->enabled(L"chkIgnoreAddressTags"));
    EXPECT_TRUE(program->checked(L"chkIgnoreAddressTags")) << "disabling keeps the check mark";
    program->click(L"optHyperTerminal");
    EXPECT_FALSE(program->checked(L"optTeraTerm"));
    EXPECT_TRUE(program->checked(L"optFileType2")) << "the terminal group is its own";
    program->click(L"optEVMBUG");
    EXPECT_EQ(program->text(L"optFileType2"), toWide(fileTypeCaption(FileType::HexDump, Monitor::Evmbug)));
}

LONG clientHeight(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.bottom;
}

TEST_F(Win32Window, SerialPortShowsItsFrameWithTheStoredPortAndRate) {
    store(L"Default Serial Port", L"COM7");
    store(L"Default Baud Rate", L"2400");
    auto program = start();
    ASSERT_NE(program->window(), nullptr);
    const LONG small = clientHeight(program->window());
    EXPECT_FALSE(program->visible(L"frmSerialPort"));
    program->click(L"optSerialPort");
    EXPECT_TRUE(program->checked(L"optSerialPort"));
    EXPECT_FALSE(program->checked(L"optTeraTerm"));
    EXPECT_TRUE(program->visible(L"frmSerialPort"));
    RECT frame{};
    GetWindowRect(program->control(L"frmSerialPort"), &frame);
    MapWindowPoints(HWND_DESKTOP, program->window(), reinterpret_cast<POINT *>(&frame), 2);
    EXPECT_GT(clientHeight(program->window()), small);
    EXPECT_LE(frame.bottom, clientHeight(program->window())) << "the frame lies inside the window";
    EXPECT_GE(frame.top, small - 2) << "the frame lies under the rest";
    EXPECT_EQ(program->text(L"cboSerialPort"), L"COM7");
    EXPECT_EQ(program->text(L"cboBaudRate"), L"2400");
    EXPECT_EQ(SendMessageW(program->control(L"cboBaudRate"), CB_GETCOUNT, 0, 0),
              static_cast<LRESULT>(kBaudRates.size()));
    EXPECT_TRUE(program->checked(L"chkVerify"));
    const struct {
        const wchar_t *option;
        bool monitor;
    } types[] = {{L"optFileType2", true}, {L"optFileType3", false}, {L"optFileType1", true}, {L"optFileType0", false}};
    for (const auto &t : types) {
        program->click(t.option);
        EXPECT_EQ(program->enabled(L"txtLoadAddress"), t.monitor) << toUtf8(t.option);
        EXPECT_EQ(program->enabled(L"chkVerify"), t.monitor) << toUtf8(t.option);
    }
    program->click(L"optTeraTerm");
    EXPECT_FALSE(program->visible(L"frmSerialPort"));
    EXPECT_EQ(clientHeight(program->window()), small);
}

TEST_F(Win32Window, AFileChoosesItsTypeByItsLastExtensionInAnyCase) {
    auto program = start();
    ASSERT_NE(program->window(), nullptr);
    const struct {
        const wchar_t *file;
        const wchar_t *option;
    } cases[] = {{L"demo.obj", L"optFileType0"},
                 {L"even.bin", L"optFileType2"},
                 {L"hello.bas", L"optFileType3"},
                 {L"LOADER.OBJ", L"optFileType0"},
                 {L"ascii.txt", L"optFileType3"}};
    for (const auto &c : cases) {
        ASSERT_TRUE(program->select(L"FileListBox", c.file)) << toUtf8(c.file);
        EXPECT_TRUE(program->checked(c.option)) << toUtf8(c.file);
    }
}

TEST_F(Win32Window, FoldersOpenOnDoubleClickAndAnUnreadableOneKeepsThePrevious) {
    auto program = start();
    ASSERT_NE(program->window(), nullptr);
    ASSERT_TRUE(program->highlight(L"DirectoryListBox", L"sub"));
    EXPECT_EQ(program->entries(L"FileListBox").size(), 5u) << "a single click only highlights";
    ASSERT_TRUE(program->open(L"DirectoryListBox", L"sub"));
    EXPECT_EQ(program->selected(L"DirectoryListBox"), L"sub");
    EXPECT_TRUE(program->entries(L"FileListBox").empty());

    fs::remove_all(m_dir / "files");
    HWND folders = program->control(L"DirectoryListBox");
    ASSERT_TRUE(program->highlight(L"DirectoryListBox", L"files"));
    PostMessageW(GetParent(folders), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(folders), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(folders));
    HWND box = nullptr;
    ASSERT_TRUE(waitFor([&] { return (box = messageBox(program->window())) != nullptr; }, 5000));
    EXPECT_NE(boxText(box).find(L"cannot be opened."), std::wstring::npos) << toUtf8(boxText(box));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitFor([&] { return messageBox(program->window()) == nullptr; }, 5000));
    EXPECT_EQ(program->entries(L"DirectoryListBox").back(), L"sub") << "the lists stay as they were";
}

TEST_F(Win32Window, HelpShowsFourPagesForTheSelectedMonitor) {
    for (const Monitor monitor : {Monitor::Evmbug, Monitor::Tibug}) {
        auto program = start();
        ASSERT_NE(program->window(), nullptr);
        program->click(monitor == Monitor::Tibug ? L"optTIBUG" : L"optEVMBUG");
        program->postClick(L"btnFileTypeHelp");
        for (const std::string &page : helpPages(monitor)) {
            HWND box = nullptr;
            ASSERT_TRUE(waitFor([&] { return (box = messageBox(program->window())) != nullptr; }, 5000));
            EXPECT_EQ(toUtf8(boxText(box)), page);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            ASSERT_TRUE(waitFor([&] { return messageBox(program->window()) != box; }, 5000));
        }
    }
}

TEST_F(Win32Window, SetAsDefaultFolderSurvivesARestart) {
    {
        auto program = start();
        ASSERT_NE(program->window(), nullptr);
        ASSERT_TRUE(program->highlight(L"DirectoryListBox", L"sub"));
        program->click(L"btnSetAsDefaultFolder");
        EXPECT_EQ(storedValue(L"Default Folder"), (m_dir / "files" / "sub").wstring());
        EXPECT_EQ(CompareStringOrdinal(storedValue(L"Default Drive").substr(0, 2).c_str(), 2,
                                       m_dir.wstring().substr(0, 2).c_str(), 2, TRUE),
                  CSTR_EQUAL);
        program->click(L"btnQuit");
        EXPECT_EQ(program->waitForExit(5000), 0);
    }
    auto restarted = start();
    ASSERT_NE(restarted->window(), nullptr);
    EXPECT_EQ(restarted->selected(L"DirectoryListBox"), L"sub");
}

struct TransferCase {
    const char *name;
    const wchar_t *file;
    const wchar_t *monitor;
    const wchar_t *fileType; // chosen by hand after the file; null: the type its extension gives
    const wchar_t *board;    // the board's options; null: only the characters are compared
    const char *expected;    // the sample image, or the sample whose text should arrive
};

class Win32WindowTransfer : public Win32Window, public ::testing::WithParamInterface<TransferCase> {};

TEST_P(Win32WindowTransfer, TheBoardEndsWithTheFileInMemory) {
    const TransferCase &c = GetParam();
    auto program = start();
    ASSERT_NE(program->window(), nullptr);
    program->click(c.monitor);
    ASSERT_TRUE(program->select(L"FileListBox", c.file));
    if (c.fileType != nullptr) {
        program->click(c.fileType);
    }
    program->setText(L"txtMultFactorChar", L"0");
    program->setText(L"txtMultFactorLine", L"0");
    auto window = terminal(c.board != nullptr ? c.board : L"", c.name);
    ASSERT_NE(window->window(), nullptr);
    ASSERT_TRUE(sendAndWait(*program));
    ASSERT_TRUE(window->end());
    const std::string expected = readFile(fs::path(QUORVANE_SAMPLES) / c.expected);
    if (c.board != nullptr) {
        EXPECT_EQ(readFile(m_dir / (std::string(c.name) + ".image")), expected);
    } else {
        EXPECT_EQ(toUtf8(window->chars()), typedText(expected));
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachFileType, Win32WindowTransfer,
    ::testing::Values(
        TransferCase{"loader", L"demo.obj", L"optEVMBUG", nullptr, L"--start loader", "demo.image"},
        TransferCase{"evmbug", L"demo.obj", L"optEVMBUG", L"optFileType1", L"--monitor evmbug", "demo.image"},
        TransferCase{"tibug", L"demo.obj", L"optTIBUG", L"optFileType1", L"--monitor tibug", "demo.image"},
        TransferCase{"hexdump", L"even.bin", L"optEVMBUG", nullptr, L"--start memory:FE00", "even.image"},
        TransferCase{"text", L"ascii.txt", L"optEVMBUG", nullptr, nullptr, "ascii.txt"}),
    [](const ::testing::TestParamInfo<TransferCase> &param) { return std::string(param.param.name); });

TEST_F(Win32Window, StopEndsATransferAndQuitEndsTheProgramAtOnce) {
    auto program = start();
    ASSERT_NE(program->window(), nullptr);
    ASSERT_TRUE(program->select(L"FileListBox", L"ascii.txt"));
    auto window = terminal(L"", "stop");
    ASSERT_NE(window->window(), nullptr);
    program->postClick(L"btnSend");
    ASSERT_TRUE(waitFor([&] { return program->visible(L"btnStop"); }, 5000));
    Sleep(1500); // past the initial wait: a few characters at 10 ms each
    program->postClick(L"btnStop");
    ASSERT_TRUE(waitFor([&] { return !program->visible(L"btnStop"); }, 5000));
    EXPECT_EQ(program->waitForExit(0), -1) << "STOP! ends the transfer, not the program";
    Sleep(1500); // the stopped transfer finishes its line; a Send before its end would be ignored

    program->postClick(L"btnSend");
    ASSERT_TRUE(waitFor([&] { return program->visible(L"btnStop"); }, 5000));
    Sleep(1500);
    program->postClick(L"btnQuit");
    EXPECT_EQ(program->waitForExit(2000), 0) << "Quit in a transfer ends the program at once";
    ASSERT_TRUE(window->end());
    const std::string typed = toUtf8(window->chars());
    const std::string whole = readFile(fs::path(QUORVANE_SAMPLES) / "ascii.txt");
    EXPECT_LT(typed.size(), 2 * whole.size()) << "neither transfer ran to its end";
}

} // namespace
} // namespace quorvane::ui::win32::test
