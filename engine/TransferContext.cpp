// The keystroke guard that keeps every keystroke in the terminal, and the waits with their factors.
#include "engine/TransferContext.h"
#include "engine/TextDecoding.h"

#include <cstdio>

namespace quorvane::engine {

namespace {

std::string utf8(char32_t ch) {
    std::string out;
    engine::appendUtf8(out, ch);
    return out;
}

} // namespace

TransferContext::TransferContext(EngineHost &host, Pacer &pacer, KeySequenceSink &sink, platform::KeyInjector &injector,
                                 platform::Desktop &desktop, platform::WindowId terminal)
    : m_host(host), m_pacer(pacer), m_sink(sink), m_injector(injector), m_desktop(desktop), m_terminal(terminal) {}

// Keystrokes go to whatever window has the focus; a click elsewhere during a wait must not make them land
// in the main window (where a space presses the focused button) or in a shell.
bool TransferContext::type(std::u16string_view keys) {
    m_pacer.keepResponsive();
    if (m_end || m_pacer.abandoned()) {
        return false;
    }
    if (m_desktop.foregroundWindow() != m_terminal && !regainTerminal(false)) {
        return false;
    }
    // The cached focus can lag behind the window manager; the injector then refuses at the first key-down, so
    // nothing of the string was typed and it is sent whole once the terminal has the focus again. A key the
    // keyboard cannot make is not the terminal's doing: that ends the transfer with what it was.
    for (int attempt = 0; !m_sink.SendKeySequence(keys); ++attempt) {
        const platform::InjectRefusal refusal = m_injector.lastRefusal();
        if (refusal.reason == platform::InjectRefusal::Reason::NoKey) {
            m_end = TransferEnd::Untypable;
            m_untypable = refusal.character;
            return false;
        }
        if (attempt > 0) {
            m_end = TransferEnd::TerminalLost;
            return false;
        }
        if (!regainTerminal(true)) {
            return false;
        }
    }
    return true;
}

bool TransferContext::regainTerminal(bool activateAlways) {
    holdWhileOwnWindowFocused();
    if (m_pacer.abandoned()) {
        return false;
    }
    if ((activateAlways || m_desktop.foregroundWindow() != m_terminal) && !m_desktop.activate(m_terminal)) {
        m_end = TransferEnd::TerminalLost;
        return false;
    }
    return true;
}

// A click into a factor box gives this program's window the focus; taking it back would send the digits the
// user types next to the board. So the transfer holds until the focus leaves the window (the terminal clicked,
// or another window, which is then handled as always), the user confirms the box, or STOP! is clicked, which
// lets the transfer finish its line.
void TransferContext::holdWhileOwnWindowFocused() {
    const auto ownWindowFocused = [this] {
        const std::optional<platform::WindowId> focus = m_desktop.foregroundWindow();
        return focus && *focus != m_terminal && m_desktop.isOwnWindow(*focus) && m_host.stopVisible();
    };
    if (!ownWindowFocused()) {
        return;
    }
    m_host.holding(true);
    m_pacer.Hold(ownWindowFocused);
    m_host.holding(false);
}

TransferEnd TransferContext::interruption() const {
    return m_pacer.abandoned() ? TransferEnd::Abandoned : m_end.value_or(TransferEnd::TerminalLost);
}

std::string TransferContext::untypableText() const {
    const std::string end = " The transfer has ended; everything before it was typed.";
    if (m_untypable == 0) {
        return "A key that the file needs is not on this keyboard." + end;
    }
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(m_untypable));
    const bool control = m_untypable < 0x20 || (m_untypable >= 0x7F && m_untypable < 0xA0);
    std::string text = "The character ";
    if (control) {
        text += code;
    } else {
        text.append("\"").append(utf8(m_untypable)).append("\" (").append(code).append(")");
    }
    return text + " cannot be typed: the keyboard has no key for it, and no spare key could be given to it." + end;
}

void TransferContext::lineWait() { m_pacer.Delay(0.1f, readFactor(m_host.lineFactorText())); }

void TransferContext::hexCharWait() { m_pacer.CharDelay(7000.0f, readFactor(m_host.charFactorText())); }

void TransferContext::textCharWait() { m_pacer.CharDelay(5000.0f, readFactor(m_host.charFactorText())); }

} // namespace quorvane::engine
