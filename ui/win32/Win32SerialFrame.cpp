// The serial line's frame on Win32: the lists, the boxes and the output area as window messages.
#include "ui/win32/Win32SerialFrame.h"

#include "platform/win32/Win32Text.h"

namespace quorvane::ui::win32 {
namespace {

using platform::win32::toUtf8;
using platform::win32::toWide;

// An edit control slows down as its text grows: a long transfer's echo keeps only its latest part.
constexpr int kOutputKeep = 60'000;
constexpr int kOutputTrim = 20'000;

std::wstring withCarriageReturns(const std::string &text) {
    std::wstring wide;
    for (const wchar_t c : toWide(text)) {
        if (c == L'\n') {
            wide += L'\r';
        }
        wide += c;
    }
    return wide;
}

} // namespace

Win32SerialFrame::Win32SerialFrame(Win32Controls &controls) : m_controls(controls) {
    SendMessageW(m_controls["txtBoardOutput"], EM_SETLIMITTEXT, 0, 0);
}

void Win32SerialFrame::restore(const SerialDefaults &defaults) {
    const HWND rates = m_controls["cboBaudRate"];
    for (unsigned baud : kBaudRates) {
        SendMessageW(rates, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(baud).c_str()));
    }
    setText("cboBaudRate", std::to_string(defaults.baud));
    setText("cboSerialPort", defaults.port);
}

void Win32SerialFrame::show(bool chosen) {
    if (chosen && m_listed.empty()) {
        refreshPorts();
    }
    m_controls.showSerialFrame(chosen);
}

void Win32SerialFrame::refreshPorts() {
    if (m_ports == nullptr) {
        return;
    }
    const std::string typed = text("cboSerialPort");
    const HWND box = m_controls["cboSerialPort"];
    m_listed = m_ports->list();
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (const platform::SerialPortInfo &port : m_listed) {
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(portEntryText(port)).c_str()));
    }
    setText("cboSerialPort", typed);
}

void Win32SerialFrame::fileTypeChanged(engine::FileType type) {
    const SerialOptionState state = serialOptionState(type);
    EnableWindow(m_controls["lblLoadAddress"], state.loadAddress);
    EnableWindow(m_controls["txtLoadAddress"], state.loadAddress);
    EnableWindow(m_controls["chkVerify"], state.verify);
}

SerialFormInput Win32SerialFrame::input(engine::FileType type) const {
    const bool verify = SendMessageW(m_controls["chkVerify"], BM_GETCHECK, 0, 0) == BST_CHECKED;
    return {text("cboSerialPort"), text("cboBaudRate"), text("txtLoadAddress"), verify, type};
}

void Win32SerialFrame::clearOutput() {
    SetWindowTextW(m_controls["txtBoardOutput"], L"");
    m_outputText = {};
}

void Win32SerialFrame::boardOutput(std::string_view bytes) {
    const std::string text = m_outputText.append(bytes);
    if (text.empty()) {
        return;
    }
    const HWND area = m_controls["txtBoardOutput"];
    if (GetWindowTextLengthW(area) > kOutputKeep) {
        SendMessageW(area, EM_SETSEL, 0, kOutputTrim);
        SendMessageW(area, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    }
    const int end = GetWindowTextLengthW(area);
    SendMessageW(area, EM_SETSEL, end, end);
    SendMessageW(area, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(withCarriageReturns(text).c_str()));
    SendMessageW(area, EM_SCROLLCARET, 0, 0);
}

std::string Win32SerialFrame::text(const char *name) const {
    const HWND control = m_controls[name];
    std::wstring value(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    value.resize(static_cast<std::size_t>(GetWindowTextW(control, value.data(), static_cast<int>(value.size()))));
    return toUtf8(value);
}

void Win32SerialFrame::setText(const char *name, const std::string &text) const {
    SetWindowTextW(m_controls[name], toWide(text).c_str());
}

} // namespace quorvane::ui::win32
