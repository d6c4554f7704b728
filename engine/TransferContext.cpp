// The keystroke guard that keeps every keystroke in the terminal, and the waits with their factors.
#include "engine/TransferContext.h"

namespace quorvane::engine {

TransferContext::TransferContext(EngineHost &host, Pacer &pacer, KeySequenceSink &sink, platform::Desktop &desktop,
                                 platform::WindowId terminal)
    : m_host(host), m_pacer(pacer), m_sink(sink), m_desktop(desktop), m_terminal(terminal) {}

// Keystrokes go to whatever window has the focus; a click elsewhere during a wait must not make them land
// in the main window (where a space presses the focused button) or in a shell.
bool TransferContext::type(std::u16string_view keys) {
    if (m_lost || m_pacer.abandoned()) {
        return false;
    }
    if (m_desktop.foregroundWindow() != m_terminal && !m_desktop.activate(m_terminal)) {
        m_lost = true;
        return false;
    }
    // The cached focus can lag behind the window manager; the injector then refuses at the first key-down, so
    // nothing of the string was typed and it is sent whole once the terminal has the focus again.
    if (!m_sink.SendKeySequence(keys) && (!m_desktop.activate(m_terminal) || !m_sink.SendKeySequence(keys))) {
        m_lost = true;
        return false;
    }
    return true;
}

TransferEnd TransferContext::interruption() const {
    return m_pacer.abandoned() ? TransferEnd::Abandoned : TransferEnd::TerminalLost;
}

void TransferContext::lineWait() { m_pacer.Delay(0.1f, readFactor(m_host.lineFactorText())); }

void TransferContext::hexCharWait() { m_pacer.CharDelay(7000.0f, readFactor(m_host.charFactorText())); }

void TransferContext::textCharWait() { m_pacer.CharDelay(5000.0f, readFactor(m_host.charFactorText())); }

} // namespace quorvane::engine
