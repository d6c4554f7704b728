// The keysyms (X11 and XKB share them) that stand for Windows virtual-key codes of named keys: Enter, arrows, F keys,
// modifiers, ...
#pragma once

#include "platform/VirtualKeys.h"

#include <cstdint>

namespace quorvane::platform::xkb {

// The keysym of a named key; the extended flag picks the main block's key over the keypad's (Return vs
// KP_Enter is the other way round) and the right-hand Ctrl or Alt. XKB_KEY_NoSymbol when the code names no key.
std::uint32_t namedKeysym(std::uint16_t vk, bool extended);
// The virtual-key code of a named key's keysym, 0 when it is not one.
std::uint16_t namedVirtualKey(std::uint32_t keysym);

} // namespace quorvane::platform::xkb
