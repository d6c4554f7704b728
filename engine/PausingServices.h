// The host, the event loop and the message boxes as a transfer reaches them: each lets the injector go first.
#pragma once

#include "engine/EngineHost.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/KeyInjector.h"

#include <cstdint>
#include <optional>
#include <utility>

namespace quorvane::engine {

// Whatever the injector holds between back-to-back strings (on X11 the server grab) stops every other connection
// to the display, our own window's among them: a window that draws at once (a progress bar repaints as its
// value changes) would wait on the server for ever. So the host hears of the transfer only after the injector
// has let go: progress is kept and passed on at the next pass of the event loop, before any message and before
// anything else the host is told, which lets go first as well. What the engine reads from the host is read at once.
class PausingHost final : public EngineHost {
public:
    PausingHost(EngineHost &host, platform::KeyInjector &injector) : m_host(host), m_injector(injector) {}

    std::optional<std::string> selectedFile() override { return m_host.selectedFile(); }
    std::string folderPath() override { return m_host.folderPath(); }
    FileType fileType() override { return m_host.fileType(); }
    bool tibugSelected() override { return m_host.tibugSelected(); }
    std::string terminalTitleTerm() override { return m_host.terminalTitleTerm(); }
    bool ignoreAddressTags() override { return m_host.ignoreAddressTags(); }
    std::string charFactorText() override { return m_host.charFactorText(); }
    std::string lineFactorText() override { return m_host.lineFactorText(); }
    bool stopVisible() override { return m_host.stopVisible(); }
    std::string windowCaption() override { return m_host.windowCaption(); }

    void setStopVisible(bool visible) override;
    void progress(std::uint64_t done, std::uint64_t total) override { m_progress = {done, total}; }
    void holding(bool held) override;
    void notice(std::string_view text) override;
    void endProgram() override;

    // Lets the injector go, then passes on the progress kept since the host last heard of it.
    void letGo();

private:
    EngineHost &m_host;
    platform::KeyInjector &m_injector;
    std::optional<std::pair<std::uint64_t, std::uint64_t>> m_progress;
};

// Every pass of the event loop inside a transfer: our own window and every other program run during the waits.
class PausingPump final : public platform::EventPump {
public:
    PausingPump(platform::EventPump &pump, PausingHost &host) : m_pump(pump), m_host(host) {}

    void processPendingEvents() override;
    void waitForEvents() override;
    void processEventsUntil(platform::Clock::TimePoint deadline) override;

private:
    platform::EventPump &m_pump;
    PausingHost &m_host;
};

// A message box runs an event loop of its own, and it follows the last progress.
class PausingDialogs final : public platform::Dialogs {
public:
    PausingDialogs(platform::Dialogs &dialogs, PausingHost &host) : m_dialogs(dialogs), m_host(host) {}

    void showMessage(std::string_view title, std::string_view text, platform::MessageIcon icon) override;

private:
    platform::Dialogs &m_dialogs;
    PausingHost &m_host;
};

} // namespace quorvane::engine
