// The keystroke synthesiser: parses key-sequence strings and injects the keyboard events that type them.
#pragma once

#include "keys/EventBuffer.h"
#include "keys/EventBuilder.h"
#include "platform/KeyInjector.h"
#include "platform/KeyRecord.h"
#include "platform/KeyboardLayout.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace quorvane::keys {

class KeySequenceTyper {
public:
    KeySequenceTyper(platform::KeyboardLayout &layout, platform::KeyInjector &injector);

    // Types `keys` (key-sequence grammar, UTF-16) into the window that has the keyboard focus,
    // with one injection call; none when the string yields no event. True when every event went in (also when
    // there was none); false when the injector took only part of them.
    bool SendKeySequence(std::u16string_view keys);

    // True while a "+" modifier holds Shift; false between calls.
    bool ShiftHeld() const;

private:
    void parseItem();
    void parseModifiers();
    void parseGroup();
    void parseBraces();
    void typeBracedCharacter(std::u16string_view bracedText, int count);
    bool flushEvents();

    HeldModifiers held() const { return {m_shiftHeld, m_ctrlOrAltDepth > 0}; }

    platform::KeyInjector &m_injector;
    EventBuffer m_events;
    EventBuilder m_builder;
    std::u16string_view m_parseText; // the string of the current call
    std::size_t m_parsePosition = 0; // how many code units of it have been consumed
    bool m_shiftHeld = false;
    int m_ctrlOrAltDepth = 0;
    std::vector<std::size_t> m_modifierDowns; // where each modifier of the open chain put its key-down
};

} // namespace quorvane::keys
