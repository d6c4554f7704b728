// The "Serial port" frame of the Win32 window: shown with the choice, its port list read from the system, its
// boxes read at Send, and the board's output appended as it arrives.
#pragma once

#include "engine/SerialLink.h"
#include "platform/SerialLine.h"
#include "ui/SerialPortChoice.h"
#include "ui/StoredDefaults.h"
#include "ui/win32/Win32Controls.h"

#include <vector>

namespace quorvane::ui::win32 {

class Win32SerialFrame : public engine::BoardOutputSink {
public:
    explicit Win32SerialFrame(Win32Controls &controls);

    // Fills the baud list and puts the stored port and rate in their boxes.
    void restore(const SerialDefaults &defaults);
    // Without ports the list stays empty.
    void setPorts(platform::SerialPorts *ports) { m_ports = ports; }
    // The frame shows, and the window grows, while the choice holds; the list is read the first time.
    void show(bool chosen);
    // Reads the system's list again; the text in the box stays.
    void refreshPorts();
    void fileTypeChanged(engine::FileType type);
    SerialFormInput input(engine::FileType type) const;
    const std::vector<platform::SerialPortInfo> &listedPorts() const { return m_listed; }

    void clearOutput();
    void boardOutput(std::string_view bytes) override;

private:
    std::string text(const char *name) const;
    void setText(const char *name, const std::string &text) const;

    Win32Controls &m_controls;
    platform::SerialPorts *m_ports = nullptr;
    std::vector<platform::SerialPortInfo> m_listed;
    BoardOutputText m_outputText;
};

} // namespace quorvane::ui::win32
