// The keystroke synthesiser: parses key-sequence strings and injects the keyboard events that type them.
#pragma once

#include "keys/KeyRecord.h"
#include "platform/KeyInjector.h"
#include "platform/KeyboardLayout.h"

#include <string_view>

namespace quorvane::keys {

class SendKeys_Replacement {
public:
    SendKeys_Replacement(platform::KeyboardLayout &layout, platform::KeyInjector &injector);

    // Types `keys` (key-sequence grammar, UTF-16) into the window that has the keyboard focus,
    // with one injection call; none when the string yields no event.
    void SendKeySequence(std::u16string_view keys);

    // True while a "+" modifier holds Shift; false between calls.
    bool ShiftHeld() const;
};

} // namespace quorvane::keys
