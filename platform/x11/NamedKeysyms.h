// The keysyms that stand for Windows virtual-key codes of named keys (Enter, arrows, F keys, modifiers, ...).
#pragma once

#include "platform/VirtualKeys.h"

#include <X11/X.h>
#include <cstdint>

namespace quorvane::platform::x11 {

// The keysym of a named key; the extended flag picks the main block's key over the keypad's (Return vs
// KP_Enter is the other way round) and the right-hand Ctrl or Alt. NoSymbol when the code names no key.
KeySym namedKeysym(std::uint16_t vk, bool extended);
// The virtual-key code of a named key's keysym, 0 when it is not one.
std::uint16_t namedVirtualKey(KeySym keysym);

} // namespace quorvane::platform::x11
