// The keysyms that stand for Windows virtual-key codes of named keys (Enter, arrows, F keys, modifiers, ...).
#include "platform/xkb/NamedKeysyms.h"

#include <array>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace quorvane::platform::xkb {
namespace {

struct NamedKey {
    std::uint16_t vk;
    std::uint32_t plain;    // without the extended flag
    std::uint32_t extended; // with it
};

// Windows gives the navigation keys of the main block the extended flag and the keypad's the plain one;
// Enter is the reverse (the keypad's is extended).
constexpr std::array kNamedKeys = {
    NamedKey{kVkBackspace, XKB_KEY_BackSpace, XKB_KEY_BackSpace},
    NamedKey{kVkTab, XKB_KEY_Tab, XKB_KEY_Tab},
    NamedKey{kVkClear, XKB_KEY_KP_Begin, XKB_KEY_KP_Begin},
    NamedKey{kVkReturn, XKB_KEY_Return, XKB_KEY_KP_Enter},
    NamedKey{kVkShift, XKB_KEY_Shift_L, XKB_KEY_Shift_L},
    NamedKey{kVkControl, XKB_KEY_Control_L, XKB_KEY_Control_R},
    NamedKey{kVkAlt, XKB_KEY_Alt_L, XKB_KEY_Alt_R},
    NamedKey{kVkPause, XKB_KEY_Pause, XKB_KEY_Pause},
    NamedKey{kVkCapsLock, XKB_KEY_Caps_Lock, XKB_KEY_Caps_Lock},
    NamedKey{kVkEscape, XKB_KEY_Escape, XKB_KEY_Escape},
    NamedKey{kVkSpace, XKB_KEY_space, XKB_KEY_space},
    NamedKey{kVkPageUp, XKB_KEY_KP_Prior, XKB_KEY_Prior},
    NamedKey{kVkPageDown, XKB_KEY_KP_Next, XKB_KEY_Next},
    NamedKey{kVkEnd, XKB_KEY_KP_End, XKB_KEY_End},
    NamedKey{kVkHome, XKB_KEY_KP_Home, XKB_KEY_Home},
    NamedKey{kVkLeft, XKB_KEY_KP_Left, XKB_KEY_Left},
    NamedKey{kVkUp, XKB_KEY_KP_Up, XKB_KEY_Up},
    NamedKey{kVkRight, XKB_KEY_KP_Right, XKB_KEY_Right},
    NamedKey{kVkDown, XKB_KEY_KP_Down, XKB_KEY_Down},
    NamedKey{kVkSelect, XKB_KEY_Select, XKB_KEY_Select},
    NamedKey{kVkPrint, XKB_KEY_Print, XKB_KEY_Print},
    NamedKey{kVkPrintScreen, XKB_KEY_Print, XKB_KEY_Print},
    NamedKey{kVkInsert, XKB_KEY_KP_Insert, XKB_KEY_Insert},
    NamedKey{kVkDelete, XKB_KEY_KP_Delete, XKB_KEY_Delete},
    NamedKey{kVkHelp, XKB_KEY_Help, XKB_KEY_Help},
    NamedKey{kVkLeftWindows, XKB_KEY_Super_L, XKB_KEY_Super_L},
    NamedKey{kVkRightWindows, XKB_KEY_Super_R, XKB_KEY_Super_R},
    NamedKey{kVkApps, XKB_KEY_Menu, XKB_KEY_Menu},
    NamedKey{kVkMultiply, XKB_KEY_KP_Multiply, XKB_KEY_KP_Multiply},
    NamedKey{kVkAdd, XKB_KEY_KP_Add, XKB_KEY_KP_Add},
    NamedKey{kVkSubtract, XKB_KEY_KP_Subtract, XKB_KEY_KP_Subtract},
    NamedKey{kVkDecimal, XKB_KEY_KP_Decimal, XKB_KEY_KP_Decimal},
    NamedKey{kVkDivide, XKB_KEY_KP_Divide, XKB_KEY_KP_Divide},
    NamedKey{kVkNumLock, XKB_KEY_Num_Lock, XKB_KEY_Num_Lock},
    NamedKey{kVkScrollLock, XKB_KEY_Scroll_Lock, XKB_KEY_Scroll_Lock},
    NamedKey{kVkLeftShift, XKB_KEY_Shift_L, XKB_KEY_Shift_L},
    NamedKey{kVkRightShift, XKB_KEY_Shift_R, XKB_KEY_Shift_R},
    NamedKey{kVkLeftControl, XKB_KEY_Control_L, XKB_KEY_Control_L},
    NamedKey{kVkRightControl, XKB_KEY_Control_R, XKB_KEY_Control_R},
    NamedKey{kVkLeftAlt, XKB_KEY_Alt_L, XKB_KEY_Alt_L},
    NamedKey{kVkRightAlt, XKB_KEY_Alt_R, XKB_KEY_Alt_R},
};

constexpr int kFunctionKeys = 16;

} // namespace

std::uint32_t namedKeysym(std::uint16_t vk, bool extended) {
    if (vk >= kVkNumpad0 && vk < kVkNumpad0 + 10) {
        return XKB_KEY_KP_0 + (vk - kVkNumpad0);
    }
    if (vk >= kVkF1 && vk < kVkF1 + kFunctionKeys) {
        return XKB_KEY_F1 + (vk - kVkF1);
    }
    for (const auto &key : kNamedKeys) {
        if (key.vk == vk) {
            return extended ? key.extended : key.plain;
        }
    }
    return XKB_KEY_NoSymbol;
}

std::uint16_t namedVirtualKey(std::uint32_t keysym) {
    if (keysym >= XKB_KEY_F1 && keysym < XKB_KEY_F1 + kFunctionKeys) {
        return static_cast<std::uint16_t>(kVkF1 + (keysym - XKB_KEY_F1));
    }
    if (keysym >= XKB_KEY_KP_0 && keysym <= XKB_KEY_KP_9) {
        return static_cast<std::uint16_t>(kVkNumpad0 + (keysym - XKB_KEY_KP_0));
    }
    for (const auto &key : kNamedKeys) {
        if (key.plain == keysym || key.extended == keysym) {
            return key.vk;
        }
    }
    return 0;
}

} // namespace quorvane::platform::xkb
