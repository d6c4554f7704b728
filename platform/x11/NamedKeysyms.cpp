// The keysyms that stand for Windows virtual-key codes of named keys (Enter, arrows, F keys, modifiers, ...).
#include "platform/x11/NamedKeysyms.h"

#include <X11/keysym.h>
#include <array>

namespace quorvane::platform::x11 {
namespace {

struct NamedKey {
    std::uint16_t vk;
    KeySym plain;    // without the extended flag
    KeySym extended; // with it
};

// Windows gives the navigation keys of the main block the extended flag and the keypad's the plain one;
// Enter is the reverse (the keypad's is extended).
constexpr std::array kNamedKeys = {
    NamedKey{kVkBackspace, XK_BackSpace, XK_BackSpace},
    NamedKey{kVkTab, XK_Tab, XK_Tab},
    NamedKey{kVkClear, XK_KP_Begin, XK_KP_Begin},
    NamedKey{kVkReturn, XK_Return, XK_KP_Enter},
    NamedKey{kVkShift, XK_Shift_L, XK_Shift_L},
    NamedKey{kVkControl, XK_Control_L, XK_Control_R},
    NamedKey{kVkAlt, XK_Alt_L, XK_Alt_R},
    NamedKey{kVkPause, XK_Pause, XK_Pause},
    NamedKey{kVkCapsLock, XK_Caps_Lock, XK_Caps_Lock},
    NamedKey{kVkEscape, XK_Escape, XK_Escape},
    NamedKey{kVkSpace, XK_space, XK_space},
    NamedKey{kVkPageUp, XK_KP_Prior, XK_Prior},
    NamedKey{kVkPageDown, XK_KP_Next, XK_Next},
    NamedKey{kVkEnd, XK_KP_End, XK_End},
    NamedKey{kVkHome, XK_KP_Home, XK_Home},
    NamedKey{kVkLeft, XK_KP_Left, XK_Left},
    NamedKey{kVkUp, XK_KP_Up, XK_Up},
    NamedKey{kVkRight, XK_KP_Right, XK_Right},
    NamedKey{kVkDown, XK_KP_Down, XK_Down},
    NamedKey{kVkSelect, XK_Select, XK_Select},
    NamedKey{kVkPrint, XK_Print, XK_Print},
    NamedKey{kVkPrintScreen, XK_Print, XK_Print},
    NamedKey{kVkInsert, XK_KP_Insert, XK_Insert},
    NamedKey{kVkDelete, XK_KP_Delete, XK_Delete},
    NamedKey{kVkHelp, XK_Help, XK_Help},
    NamedKey{kVkLeftWindows, XK_Super_L, XK_Super_L},
    NamedKey{kVkRightWindows, XK_Super_R, XK_Super_R},
    NamedKey{kVkApps, XK_Menu, XK_Menu},
    NamedKey{kVkMultiply, XK_KP_Multiply, XK_KP_Multiply},
    NamedKey{kVkAdd, XK_KP_Add, XK_KP_Add},
    NamedKey{kVkSubtract, XK_KP_Subtract, XK_KP_Subtract},
    NamedKey{kVkDecimal, XK_KP_Decimal, XK_KP_Decimal},
    NamedKey{kVkDivide, XK_KP_Divide, XK_KP_Divide},
    NamedKey{kVkNumLock, XK_Num_Lock, XK_Num_Lock},
    NamedKey{kVkScrollLock, XK_Scroll_Lock, XK_Scroll_Lock},
    NamedKey{kVkLeftShift, XK_Shift_L, XK_Shift_L},
    NamedKey{kVkRightShift, XK_Shift_R, XK_Shift_R},
    NamedKey{kVkLeftControl, XK_Control_L, XK_Control_L},
    NamedKey{kVkRightControl, XK_Control_R, XK_Control_R},
    NamedKey{kVkLeftAlt, XK_Alt_L, XK_Alt_L},
    NamedKey{kVkRightAlt, XK_Alt_R, XK_Alt_R},
};

constexpr int kFunctionKeys = 16;

} // namespace

KeySym namedKeysym(std::uint16_t vk, bool extended) {
    if (vk >= kVkNumpad0 && vk < kVkNumpad0 + 10) {
        return XK_KP_0 + (vk - kVkNumpad0);
    }
    if (vk >= kVkF1 && vk < kVkF1 + kFunctionKeys) {
        return XK_F1 + (vk - kVkF1);
    }
    for (const auto &key : kNamedKeys) {
        if (key.vk == vk) {
            return extended ? key.extended : key.plain;
        }
    }
    return NoSymbol;
}

std::uint16_t namedVirtualKey(KeySym keysym) {
    if (keysym >= XK_F1 && keysym < XK_F1 + kFunctionKeys) {
        return static_cast<std::uint16_t>(kVkF1 + (keysym - XK_F1));
    }
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) {
        return static_cast<std::uint16_t>(kVkNumpad0 + (keysym - XK_KP_0));
    }
    for (const auto &key : kNamedKeys) {
        if (key.plain == keysym || key.extended == keysym) {
            return key.vk;
        }
    }
    return 0;
}

} // namespace quorvane::platform::x11
