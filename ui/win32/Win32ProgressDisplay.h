// What the Win32 window shows of a transfer: the bar and the figures in the instruction line's place while it
// runs, the line that says how it ended after it, the percentage in the title and on the taskbar button.
#pragma once

#include "platform/Clock.h"
#include "platform/win32/Win32TaskbarButton.h"
#include "ui/SerialPortChoice.h"
#include "ui/WindowProgress.h"
#include "ui/win32/Win32Controls.h"

namespace quorvane::ui::win32 {

class Win32ProgressDisplay {
public:
    // Adds the bar and the figures, hidden, to the window's controls.
    Win32ProgressDisplay(HWND window, Win32Controls &controls, platform::Clock &clock);

    // The Send click: a transfer, shown from its first report to its end; a click during a transfer is the
    // engine's to ignore and changes nothing shown.
    void send(engine::SendDriver &driver, engine::EngineHost &host);
    // A Send over the serial line, shown in the same way; its figures count words or bytes, and what it said on
    // success ("verified: N words") ends the end line.
    void sendSerial(engine::SerialSendOperation &operation, const engine::SerialRequest &request,
                    engine::EngineHost &host, SerialMessages &messages);
    // The engine's report of the characters done, of how many.
    void update(std::uint64_t done, std::uint64_t total);
    void holding(bool held);
    // True for a message of the shell's that the display has handled.
    bool handle(UINT message);

private:
    void showTitle();
    void showEnd(const std::optional<std::string> &line);

    HWND m_window;
    HWND m_instructionLine;
    HWND m_bar;
    HWND m_figures;
    WindowProgress m_progress;
    platform::win32::Win32TaskbarButton m_taskbar;
};

} // namespace quorvane::ui::win32
