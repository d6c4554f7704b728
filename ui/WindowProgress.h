// What a window shows of a transfer: the bar, the figures and the title while it runs, the end line after it.
// The Qt window and the Win32 window show the same, each with its own controls.
#pragma once

#include "engine/FileType.h"
#include "engine/SendDriver.h"
#include "platform/Clock.h"
#include "ui/TransferProgress.h"

#include <optional>
#include <string>

namespace quorvane::ui {

inline constexpr const char *kWindowTitle = "Quorvane";

class WindowProgress {
public:
    explicit WindowProgress(platform::Clock &clock);

    // Before a Send that can start a transfer: the file it will send (folder and entry as the window shows them,
    // UTF-8) and its type, for the end line.
    void prepare(const std::string &folder, const std::string &entry, engine::FileType fileType);
    // The engine's report. The first one starts the transfer's display: it comes once the terminal has been
    // found and the file opened.
    void update(std::uint64_t done, std::uint64_t total);
    // After the Send: the display ends; the line that says how it ended, if the transfer had begun.
    std::optional<std::string> finish(engine::SendResult result);

    bool running() const { return m_running; }
    int percent() const { return m_progress.percent(); }
    std::string figures() const { return m_progress.figures(); }
    // "Quorvane - 42 %" while a transfer runs, else "Quorvane".
    std::string title() const;

private:
    TransferProgress m_progress;
    std::string m_folder;
    std::string m_entry;
    engine::FileType m_fileType = engine::FileType::Text;
    bool m_running = false;
};

} // namespace quorvane::ui
