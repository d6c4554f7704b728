// The host, the event loop and the message boxes, each reached only once the injector has let go.
#include "engine/PausingServices.h"

namespace quorvane::engine {

void PausingHost::setStopVisible(bool visible) {
    letGo();
    m_host.setStopVisible(visible);
}

void PausingHost::holding(bool held) {
    letGo();
    m_host.holding(held);
}

void PausingHost::notice(std::string_view text) {
    letGo();
    m_host.notice(text);
}

void PausingHost::endProgram() {
    letGo();
    m_host.endProgram();
}

void PausingHost::letGo() {
    m_injector.pause();
    if (const auto kept = std::exchange(m_progress, std::nullopt)) {
        m_host.progress(kept->first, kept->second);
    }
}

void PausingPump::processPendingEvents() {
    m_host.letGo();
    m_pump.processPendingEvents();
}

void PausingPump::waitForEvents() {
    m_host.letGo();
    m_pump.waitForEvents();
}

void PausingPump::processEventsUntil(platform::Clock::TimePoint deadline) {
    m_host.letGo();
    m_pump.processEventsUntil(deadline);
}

void PausingDialogs::showMessage(std::string_view title, std::string_view text, platform::MessageIcon icon) {
    m_host.letGo();
    m_dialogs.showMessage(title, text, icon);
}

} // namespace quorvane::engine
