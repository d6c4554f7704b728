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
    NamedKey{8, XK_BackSpace, XK_BackSpace},
    NamedKey{9, XK_Tab, XK_Tab},
    NamedKey{12, XK_KP_Begin, XK_KP_Begin},
    NamedKey{13, XK_Return, XK_KP_Enter},
    NamedKey{16, XK_Shift_L, XK_Shift_L},
    NamedKey{17, XK_Control_L, XK_Control_R},
    NamedKey{18, XK_Alt_L, XK_Alt_R},
    NamedKey{19, XK_Pause, XK_Pause},
    NamedKey{20, XK_Caps_Lock, XK_Caps_Lock},
    NamedKey{27, XK_Escape, XK_Escape},
    NamedKey{32, XK_space, XK_space},
    NamedKey{33, XK_KP_Prior, XK_Prior},
    NamedKey{34, XK_KP_Next, XK_Next},
    NamedKey{35, XK_KP_End, XK_End},
    NamedKey{36, XK_KP_Home, XK_Home},
    NamedKey{37, XK_KP_Left, XK_Left},
    NamedKey{38, XK_KP_Up, XK_Up},
    NamedKey{39, XK_KP_Right, XK_Right},
    NamedKey{40, XK_KP_Down, XK_Down},
    NamedKey{41, XK_Select, XK_Select},
    NamedKey{42, XK_Print, XK_Print},
    NamedKey{44, XK_Print, XK_Print},
    NamedKey{45, XK_KP_Insert, XK_Insert},
    NamedKey{46, XK_KP_Delete, XK_Delete},
    NamedKey{47, XK_Help, XK_Help},
    NamedKey{0x5B, XK_Super_L, XK_Super_L},
    NamedKey{0x5C, XK_Super_R, XK_Super_R},
    NamedKey{0x5D, XK_Menu, XK_Menu},
    NamedKey{0x6A, XK_KP_Multiply, XK_KP_Multiply},
    NamedKey{0x6B, XK_KP_Add, XK_KP_Add},
    NamedKey{0x6D, XK_KP_Subtract, XK_KP_Subtract},
    NamedKey{0x6E, XK_KP_Decimal, XK_KP_Decimal},
    NamedKey{0x6F, XK_KP_Divide, XK_KP_Divide},
    NamedKey{144, XK_Num_Lock, XK_Num_Lock},
    NamedKey{145, XK_Scroll_Lock, XK_Scroll_Lock},
    NamedKey{kVkLeftShift, XK_Shift_L, XK_Shift_L},
    NamedKey{kVkRightShift, XK_Shift_R, XK_Shift_R},
    NamedKey{kVkLeftControl, XK_Control_L, XK_Control_L},
    NamedKey{kVkRightControl, XK_Control_R, XK_Control_R},
    NamedKey{0xA4, XK_Alt_L, XK_Alt_L},
    NamedKey{0xA5, XK_Alt_R, XK_Alt_R},
};

constexpr std::uint16_t kVkNumpad0 = 0x60;
constexpr std::uint16_t kVkF1 = 112;
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
