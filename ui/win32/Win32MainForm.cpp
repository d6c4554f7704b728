// The main window's procedure and handlers: options, browser, help, Send, STOP!, Quit, and the answers to the
// engine.
#include "ui/win32/Win32MainForm.h"

#include "engine/SendDriver.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Text.h"
#include "ui/FileTypeOptions.h"
#include "ui/HelpPages.h"

namespace quorvane::ui::win32 {
namespace {

using platform::win32::toUtf8;
using platform::win32::toWide;

constexpr int kIconId = 1;

UINT dpiOf(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI *)(HWND);
    const auto getDpi = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi != nullptr) {
        return getDpi(window);
    }
    const HDC screen = GetDC(nullptr);
    const UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    return dpi;
}

void registerClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hIcon =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    RegisterClassExW(&windowClass);
}

} // namespace

Win32MainForm::Win32MainForm(platform::Settings &settings, const std::string &programFolder) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClass(instance, &Win32MainForm::windowProc);
    // A fixed layout: the window has no sizing border and no maximise box.
    m_window = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, toWide(kWindowTitle).c_str(),
                               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                               CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
    m_controls.create(m_window, dpiOf(m_window));
    m_dialogs = std::make_unique<platform::win32::Win32Dialogs>(m_window);
    m_drives = std::make_unique<Win32DriveList>(m_controls["DriveListBox"]);
    m_folders = std::make_unique<Win32FolderList>(m_controls["DirectoryListBox"]);
    m_files = std::make_unique<Win32FileList>(m_controls["FileListBox"]);
    m_browser = std::make_unique<FolderBrowser>(*m_drives, *m_folders, *m_files, *m_dialogs);
    m_defaults = std::make_unique<StoredDefaults>(settings, *m_browser, *m_dialogs, programFolder);
    m_serialFrame = std::make_unique<Win32SerialFrame>(m_controls);
    Form_Load();
}

void Win32MainForm::setSerialPorts(platform::SerialPorts &ports, platform::EventPump &pump, platform::Clock &clock) {
    m_serialFrame->setPorts(&ports);
    m_serialMessages = std::make_unique<SerialMessages>(*m_dialogs);
    m_serial = std::make_unique<engine::SerialSendOperation>(
        *this, engine::SerialServices{ports, pump, clock, *m_serialMessages, *m_serialFrame});
}

Win32MainForm::~Win32MainForm() {
    if (m_window != nullptr) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
}

LRESULT CALLBACK Win32MainForm::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto *create = reinterpret_cast<const CREATESTRUCTW *>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *form = reinterpret_cast<Win32MainForm *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr || form->m_window == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return form->handle(message, wParam, lParam);
}

void Win32MainForm::setSendDriver(engine::SendDriver *driver, platform::Clock &clock) {
    m_driver = driver;
    m_progress = std::make_unique<Win32ProgressDisplay>(m_window, m_controls, clock);
}

LRESULT Win32MainForm::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_progress && m_progress->handle(message)) {
        return 0;
    }
    switch (message) {
    case WM_COMMAND: {
        const int row = Win32Controls::rowForId(LOWORD(wParam));
        if (row >= 0) {
            onCommand(m_controls.layoutOf(row).name, HIWORD(wParam));
        }
        // The quit message of an end inside a transfer was taken by the transfer's own event pump.
        if (m_ending) {
            PostQuitMessage(0);
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (const HBRUSH brush = m_controls.colour(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
            return reinterpret_cast<LRESULT>(brush);
        }
        break;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(m_window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, m_controls.windowBrush());
        return 1;
    }
    case WM_DPICHANGED: {
        const auto *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_controls.layOut(HIWORD(wParam));
        return 0;
    }
    case WM_CLOSE:
        endProgram();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void Win32MainForm::onCommand(const std::string &name, int code) {
    if (name == "DriveListBox") {
        if (code == CBN_DROPDOWN) {
            m_drives->refresh();
        }
        // A pick in the open list counts when the list closes; arrow keys on the closed box count at once.
        const bool dropped = SendMessageW(m_controls["DriveListBox"], CB_GETDROPPEDSTATE, 0, 0) != 0;
        if (code == CBN_CLOSEUP || (code == CBN_SELCHANGE && !dropped)) {
            DriveListBox_Change();
        }
    } else if (name == "DirectoryListBox") {
        if (code == LBN_DBLCLK) {
            m_browser->folderOpened(m_folders->highlightedPath());
        }
    } else if (name == "cboSerialPort") {
        if (code == CBN_DROPDOWN) {
            m_serialFrame->refreshPorts();
        }
    } else if (name == "FileListBox") {
        if (code == LBN_SELCHANGE) {
            FileListBox_Click();
        } else if (code == LBN_DBLCLK) {
            FileListBox_DblClick();
        }
    } else if (code == BN_CLICKED) {
        if (name == "btnSetAsDefaultFolder") {
            btnSetAsDefaultFolder_Click();
        } else if (name == "optTIBUG" || name == "optEVMBUG" || name == "optTeraTerm" || name == "optHyperTerminal" ||
                   name == "optSerialPort" || name.starts_with("optFileType")) {
            selectOption(name);
        } else if (name == "btnRefreshPorts") {
            m_serialFrame->refreshPorts();
        } else if (name == "btnFileTypeHelp") {
            btnFileTypeHelp_Click();
        } else if (name == "btnSend") {
            btnSend_Click();
        } else if (name == "btnStop") {
            btnStop_Click();
        } else if (name == "btnQuit") {
            endProgram();
        }
    }
}

// An option button selects itself and clears the others of its frame, then its click handler runs, also when it
// was selected already.
void Win32MainForm::selectOption(const std::string &name) {
    const std::vector<ControlLayout> &layout = mainFormLayout();
    std::string frame;
    for (const ControlLayout &control : layout) {
        if (control.name == name) {
            frame = control.container;
        }
    }
    for (const ControlLayout &control : layout) {
        if (control.kind == ControlKind::OptionButton && control.container == frame) {
            SendMessageW(m_controls[control.name], BM_SETCHECK, control.name == name ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    if (name == "optTIBUG") {
        optTIBUG_Click();
    } else if (name == "optEVMBUG") {
        optEVMBUG_Click();
    } else if (name.starts_with("optFileType")) {
        optFileType_Click(name.back() - '0');
    } else if (frame == "frmTerminalType") {
        m_serialFrame->show(name == "optSerialPort");
    }
}

void Win32MainForm::Form_Load() {
    m_defaults->restore();
    m_serialFrame->restore(m_defaults->serialDefaults());
}

void Win32MainForm::DriveListBox_Change() {
    const int picked = m_drives->pickedIndex();
    if (picked >= 0 && picked != m_drives->currentIndex()) {
        m_browser->DriveListBox_Change(picked);
    }
    m_drives->setCurrentIndex(m_drives->currentIndex());
}

void Win32MainForm::FileListBox_Click() {
    const std::optional<std::string> name = m_files->selectedName();
    if (name) {
        selectOption("optFileType" + std::to_string(fileTypeOption(fileTypeForName(*name))));
    }
}

void Win32MainForm::FileListBox_DblClick() {
    FileListBox_Click();
    btnSend_Click();
}

void Win32MainForm::btnSetAsDefaultFolder_Click() { m_defaults->save(); }

void Win32MainForm::optTIBUG_Click() { setFileTypeCaptions(Monitor::Tibug); }

void Win32MainForm::optEVMBUG_Click() { setFileTypeCaptions(Monitor::Evmbug); }

void Win32MainForm::setFileTypeCaptions(Monitor monitor) {
    for (FileType type : {FileType::TaggedObject, FileType::HexDump}) {
        SetWindowTextW(m_controls["optFileType" + std::to_string(fileTypeOption(type))],
                       toWide(fileTypeCaption(type, monitor)).c_str());
    }
}

void Win32MainForm::optFileType_Click(int index) {
    const EnabledState state = enabledStateFor(kFileTypeOptions[static_cast<std::size_t>(index)]);
    for (const char *factor : kDelayFactorControls) {
        EnableWindow(m_controls[factor], state.delayFactors);
    }
    EnableWindow(m_controls["chkIgnoreAddressTags"], state.ignoreAddressTags);
    m_serialFrame->fileTypeChanged(kFileTypeOptions[static_cast<std::size_t>(index)]);
}

void Win32MainForm::btnFileTypeHelp_Click() {
    // The monitor is read once: the pages stay consistent even if it changes while a page is open.
    for (const std::string &page : helpPages(tibugSelected() ? Monitor::Tibug : Monitor::Evmbug)) {
        m_dialogs->showMessage("Quorvane", page, platform::MessageIcon::None);
    }
}

void Win32MainForm::btnSend_Click() {
    if (m_driver == nullptr || m_ending || (m_serial && m_serial->running())) {
        return;
    }
    if (isChecked("optSerialPort") && !m_driver->running()) {
        sendSerial();
        return;
    }
    m_progress->send(*m_driver, *this);
}

// The form is checked before anything is opened; the port and rate that pass are kept for the next start.
void Win32MainForm::sendSerial() {
    if (!m_serial) {
        m_dialogs->showMessage("Quorvane", "This build of Quorvane has no serial line. Nothing was sent.",
                               platform::MessageIcon::Warning);
        return;
    }
    const SerialFormRequest form = serialRequestFor(m_serialFrame->input(fileType()), m_serialFrame->listedPorts());
    if (!form.request) {
        m_dialogs->showMessage("Quorvane", form.problem, platform::MessageIcon::Warning);
        return;
    }
    m_defaults->saveSerial({form.request->port, form.request->baud});
    m_serialFrame->clearOutput();
    m_progress->sendSerial(*m_serial, *form.request, *this, *m_serialMessages);
}

void Win32MainForm::btnStop_Click() { ShowWindow(m_controls["btnStop"], SW_HIDE); }

// Ends at once, also from inside a transfer: the engine's waits return, nothing more is typed, and the Send
// handler unwinds to the message loop, which ends.
void Win32MainForm::endProgram() {
    if (m_ending) {
        return;
    }
    m_ending = true;
    if (m_driver != nullptr) {
        m_driver->abandon();
    }
    if (m_serial) {
        m_serial->abandon();
    }
    ShowWindow(m_window, SW_HIDE);
    PostQuitMessage(0);
}

bool Win32MainForm::isChecked(const char *name) const {
    return SendMessageW(m_controls[name], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string Win32MainForm::text(const char *name) const {
    const HWND control = m_controls[name];
    std::wstring value(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    value.resize(static_cast<std::size_t>(GetWindowTextW(control, value.data(), static_cast<int>(value.size()))));
    return toUtf8(value);
}

std::optional<std::string> Win32MainForm::selectedFile() { return m_files->selectedName(); }

std::string Win32MainForm::folderPath() { return m_folders->path(); }

engine::FileType Win32MainForm::fileType() {
    for (std::size_t index = 0; index < kFileTypeOptions.size(); ++index) {
        if (isChecked(("optFileType" + std::to_string(index)).c_str())) {
            return kFileTypeOptions[index];
        }
    }
    return FileType::Text;
}

bool Win32MainForm::tibugSelected() { return isChecked("optTIBUG"); }

std::string Win32MainForm::terminalTitleTerm() { return isChecked("optTeraTerm") ? "Tera Term" : "HyperTerminal"; }

bool Win32MainForm::ignoreAddressTags() { return isChecked("chkIgnoreAddressTags"); }

std::string Win32MainForm::charFactorText() { return text("txtMultFactorChar"); }

std::string Win32MainForm::lineFactorText() { return text("txtMultFactorLine"); }

// The button's own style, not IsWindowVisible: it counts also while the window itself is hidden.
bool Win32MainForm::stopVisible() { return (GetWindowLongPtrW(m_controls["btnStop"], GWL_STYLE) & WS_VISIBLE) != 0; }

void Win32MainForm::setStopVisible(bool visible) { ShowWindow(m_controls["btnStop"], visible ? SW_SHOW : SW_HIDE); }

// The title as it stands now: the window walk skips this window whatever the progress has made of its title.
std::string Win32MainForm::windowCaption() { return platform::win32::windowTitle(m_window); }

void Win32MainForm::progress(std::uint64_t done, std::uint64_t total) {
    if (m_progress) {
        m_progress->update(done, total);
    }
}

void Win32MainForm::holding(bool held) {
    if (m_progress) {
        m_progress->holding(held);
    }
}

} // namespace quorvane::ui::win32
