// The progress bar (msctls_progress32), the figures, the end line, the title and the taskbar button, all drawn
// from the shared WindowProgress.
#include "ui/win32/Win32ProgressDisplay.h"

#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Text.h"

#include <commctrl.h>

namespace quorvane::ui::win32 {
namespace {

using platform::win32::toWide;

HWND addControl(Win32Controls &controls, const wchar_t *windowClass, DWORD style, const ProgressControlPlace &place) {
    return controls.addControl(windowClass, style, place.name, place.left, place.top, place.width, place.height);
}

// Each change of a window's text is drawn again, and the title's goes on to the taskbar: only when it differs.
void setText(HWND window, const std::string &text) {
    if (platform::win32::windowTitle(window) != text) {
        SetWindowTextW(window, toWide(text).c_str());
    }
}

} // namespace

Win32ProgressDisplay::Win32ProgressDisplay(HWND window, Win32Controls &controls, platform::Clock &clock)
    : m_window(window), m_instructionLine(controls["Label2"]),
      m_bar(addControl(controls, PROGRESS_CLASSW, PBS_SMOOTH, kProgressBarPlace)),
      m_figures(addControl(controls, L"STATIC", SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, kProgressFiguresPlace)),
      m_progress(clock), m_taskbar(window) {
    SendMessageW(m_bar, PBM_SETRANGE32, 0, 100);
}

void Win32ProgressDisplay::send(engine::SendDriver &driver, engine::EngineHost &host) {
    const WindowSendEnd end = m_progress.send(driver, host);
    if (end.ran) {
        showEnd(end.endLine);
    }
}

void Win32ProgressDisplay::sendSerial(engine::SerialSendOperation &operation, const engine::SerialRequest &request,
                                      engine::EngineHost &host, SerialMessages &messages) {
    m_progress.prepareSerial(host.folderPath(), host.selectedFile().value_or(std::string()), host.fileType());
    messages.takeNotes();
    const engine::SerialEnd end = operation.Send(request);
    showEnd(m_progress.finish(end, messages.takeNotes()));
}

void Win32ProgressDisplay::update(std::uint64_t done, std::uint64_t total) {
    m_progress.update(done, total);
    const int percent = m_progress.percent();
    if (SendMessageW(m_bar, PBM_GETPOS, 0, 0) != percent) {
        SendMessageW(m_bar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    }
    setText(m_figures, m_progress.figures());
    ShowWindow(m_instructionLine, SW_HIDE);
    ShowWindow(m_bar, SW_SHOWNA);
    ShowWindow(m_figures, SW_SHOWNA);
    showTitle();
}

void Win32ProgressDisplay::holding(bool held) {
    m_progress.setHolding(held);
    showTitle();
}

bool Win32ProgressDisplay::handle(UINT message) {
    if (!m_taskbar.buttonCreated(message)) {
        return false;
    }
    showTitle();
    return true;
}

void Win32ProgressDisplay::showTitle() {
    setText(m_window, m_progress.title());
    if (m_progress.running()) {
        m_taskbar.showProgress(m_progress.percent(), m_progress.holding());
    } else {
        m_taskbar.clear();
    }
}

// The instruction line comes back, saying how the transfer ended.
void Win32ProgressDisplay::showEnd(const std::optional<std::string> &line) {
    ShowWindow(m_bar, SW_HIDE);
    ShowWindow(m_figures, SW_HIDE);
    SendMessageW(m_bar, PBM_SETPOS, 0, 0);
    if (line) {
        SetWindowTextW(m_instructionLine, toWide(*line).c_str());
    }
    ShowWindow(m_instructionLine, SW_SHOWNA);
    showTitle();
}

} // namespace quorvane::ui::win32
