// Temporary bindings of keysyms that the layout lacks to spare keycodes, kept until the transfer ends.
#include "platform/x11/KeyBinder.h"

#include <X11/Xutil.h>
#include <algorithm>
#include <thread>

namespace quorvane::platform::x11 {
namespace {

// A terminal looks a keycode up when it handles the event, with the keymap it fetched after the last
// MappingNotify, and it may be far behind when keys come faster than it handles them. Rebinding or
// restoring a key must wait until the terminal has surely handled its earlier presses. No X request tells
// when that is, so it is estimated: key events at a rate well below what xterm manages (over 70,000 a
// second here), and each keymap change at a cost above xterm's (it re-reads the keymap: typing with
// xdotool, which binds and unbinds per character, still loses characters at 30 ms per character).
constexpr double kAssumedEventsPerSecond = 8000.0;
constexpr std::chrono::milliseconds kMapChangeCost{40};
constexpr std::chrono::milliseconds kHandlingMargin{150};

} // namespace

void KeyBinder::findSpareKeycodes() {
    m_spare.clear();
    int minKeycode = 0, maxKeycode = 0, perKeycode = 0;
    XDisplayKeycodes(m_display, &minKeycode, &maxKeycode);
    const int count = maxKeycode - minKeycode + 1;
    KeySym *syms = XGetKeyboardMapping(m_display, static_cast<KeyCode>(minKeycode), count, &perKeycode);
    if (syms == nullptr) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        const KeySym *entry = syms + i * perKeycode;
        if (std::all_of(entry, entry + perKeycode, [](KeySym s) { return s == NoSymbol; })) {
            m_spare.push_back(static_cast<KeyCode>(minKeycode + i));
        }
    }
    XFree(syms);
    m_spareKnown = true;
}

bool KeyBinder::owns(KeyCode keycode) const {
    return std::any_of(m_bindings.begin(), m_bindings.end(), [&](const Binding &b) { return b.keycode == keycode; });
}

std::optional<KeyCode> KeyBinder::bind(KeySym lower, KeySym upper) {
    for (auto &binding : m_bindings) {
        if (binding.lower == lower && binding.upper == upper) {
            use(binding);
            return binding.keycode;
        }
    }
    if (!m_spareKnown) {
        findSpareKeycodes();
    }
    Binding *slot = nullptr;
    auto unused = std::find_if(m_spare.begin(), m_spare.end(), [this](KeyCode k) { return !owns(k); });
    if (unused != m_spare.end()) {
        Binding fresh;
        fresh.keycode = *unused;
        m_bindings.push_back(fresh);
        slot = &m_bindings.back();
    } else if ((slot = victim()) == nullptr) {
        return std::nullopt;
    }
    setKeysyms(slot->keycode, lower, upper);
    slot->lower = lower;
    slot->upper = upper;
    use(*slot);
    return slot->keycode;
}

// The press that follows goes out after the events already sent, so the terminal handles it after them.
void KeyBinder::use(Binding &binding) {
    binding.lastUse = ++m_uses;
    binding.handledBy = std::max(m_drainedAt, Clock::now()) + kHandlingMargin;
}

void KeyBinder::noteEvents(std::size_t count) {
    const auto cost = std::chrono::duration<double>(static_cast<double>(count) / kAssumedEventsPerSecond);
    m_drainedAt = std::max(m_drainedAt, Clock::now()) + std::chrono::duration_cast<Clock::duration>(cost);
}

void KeyBinder::waitUntilHandled(Clock::time_point handledBy) {
    if (m_beforeWait) {
        m_beforeWait();
    }
    XSync(m_display, False);
    if (Clock::now() < handledBy) {
        std::this_thread::sleep_until(handledBy);
    }
}

// The least recently used binding, once the terminal has handled its presses.
KeyBinder::Binding *KeyBinder::victim() {
    if (m_bindings.empty()) {
        return nullptr;
    }
    auto oldest = std::min_element(m_bindings.begin(), m_bindings.end(),
                                   [](const Binding &a, const Binding &b) { return a.lastUse < b.lastUse; });
    waitUntilHandled(oldest->handledBy);
    return &*oldest;
}

void KeyBinder::setKeysyms(KeyCode keycode, KeySym lower, KeySym upper) {
    // A key with one keysym stands for that keysym's case pair: enough for a symbol without case, which would
    // otherwise get two levels for nothing. A titlecase letter must be given both levels, or it becomes its pair.
    KeySym caseLower = NoSymbol, caseUpper = NoSymbol;
    XConvertCase(lower, &caseLower, &caseUpper);
    const bool single = upper == lower && caseLower == lower && caseUpper == lower;
    KeySym syms[2] = {lower, single ? NoSymbol : upper};
    XChangeKeyboardMapping(m_display, keycode, 2, syms, 1);
    m_drainedAt = std::max(m_drainedAt, Clock::now()) + kMapChangeCost;
}

void KeyBinder::forgetLost(const X11Keymap &keymap) {
    const auto lost =
        std::erase_if(m_bindings, [&](const Binding &b) { return keymap.symbol(b.keycode, 0, false) != b.lower; });
    // The new keymap may have other spare keycodes.
    m_spareKnown = m_spareKnown && lost == 0;
}

void KeyBinder::restore() {
    m_spareKnown = false;
    if (m_bindings.empty()) {
        return;
    }
    auto last = std::max_element(m_bindings.begin(), m_bindings.end(),
                                 [](const Binding &a, const Binding &b) { return a.handledBy < b.handledBy; });
    waitUntilHandled(last->handledBy);
    for (const auto &binding : m_bindings) {
        int perKeycode = 0;
        KeySym *current = XGetKeyboardMapping(m_display, binding.keycode, 1, &perKeycode);
        const bool stillOurs = current != nullptr && perKeycode > 0 && current[0] == binding.lower;
        if (current != nullptr) {
            XFree(current);
        }
        if (stillOurs) {
            KeySym none = NoSymbol;
            XChangeKeyboardMapping(m_display, binding.keycode, 1, &none, 1);
        }
    }
    m_bindings.clear();
    m_spareKnown = false;
    XSync(m_display, False);
}

} // namespace quorvane::platform::x11
