// What a window shows of a transfer: the bar, the figures and the title while it runs, the end line after it.
// The Qt window and the Win32 window show the same, each with its own controls.
#pragma once

#include "engine/FileType.h"
#include "engine/SendDriver.h"
#include "engine/SerialSendOperation.h"
#include "platform/Clock.h"
#include "ui/TransferProgress.h"

#include <optional>
#include <string>

namespace quorvane::ui {

inline constexpr const char *kWindowTitle = "Quorvane";
inline constexpr const char *kHoldingTitle = "Quorvane - waiting: click the terminal or press Enter to go on";

// A control of the progress display, in twips on the window. Both stand in the instruction line's place (Label2)
// only while a transfer runs, so the fixed layout's table does not hold them: the bar under the folder list's
// column, the figures over the file list's.
struct ProgressControlPlace {
    const char *name;
    int left, top, width, height;
};
inline constexpr ProgressControlPlace kProgressBarPlace{"prgTransfer", 120, 1095, 2895, 225};
inline constexpr ProgressControlPlace kProgressFiguresPlace{"lblProgress", 3120, 1080, 4695, 255};

// How a window's Send click ended: `ran` is false for a click ignored because a transfer was running, which must
// leave that transfer's display alone; otherwise the display ends, with `endLine` when the transfer had begun.
struct WindowSendEnd {
    bool ran = false;
    std::optional<std::string> endLine;
};

class WindowProgress {
public:
    explicit WindowProgress(platform::Clock &clock);

    // Before a Send that can start a transfer: the file it will send (folder and entry as the window shows them,
    // UTF-8) and its type, for the end line.
    void prepare(const std::string &folder, const std::string &entry, engine::FileType fileType);
    // The same before a Send over the serial line: the monitor transfers count words, first as the board confirms
    // them and then, once the count starts again, as they are read back; the others count bytes of the file.
    void prepareSerial(const std::string &folder, const std::string &entry, engine::FileType fileType);
    // The engine's report. The first one starts the transfer's display: it comes once the terminal has been
    // found and the file opened.
    void update(std::uint64_t done, std::uint64_t total);
    // After the Send: the display ends; the line that says how it ended, if the transfer had begun.
    std::optional<std::string> finish(engine::SendResult result);
    // The whole Send click: prepared from the host's selection, run, finished; a click during a transfer goes to
    // the engine, which ignores it, and touches nothing here.
    WindowSendEnd send(engine::SendDriver &driver, engine::EngineHost &host);
    // While the transfer holds for the user working in the window, the title says so.
    void setHolding(bool held) { m_holding = held; }
    // `notes`: what the transfer said on success.
    std::optional<std::string> finish(engine::SerialEnd end, const std::string &notes);

    bool running() const { return m_running; }
    bool holding() const { return m_holding; }
    int percent() const { return m_progress.percent(); }
    std::string figures() const { return m_progress.figures(unit()); }
    // "Quorvane - 42 %" while a transfer runs, the holding title while it holds, else "Quorvane".
    std::string title() const;

private:
    bool countsWords() const;
    std::string_view unit() const;

    platform::Clock &m_clock;
    platform::Clock::TimePoint m_start{};
    TransferProgress m_progress;
    std::string m_folder;
    std::string m_entry;
    engine::FileType m_fileType = engine::FileType::Text;
    bool m_running = false;
    bool m_holding = false;
    bool m_serial = false;
    bool m_readBack = false;
};

} // namespace quorvane::ui
