// Readable names of virtual keys, for transcripts that tests compare.
#include "platform/fake/KeyNames.h"

#include "platform/VirtualKeys.h"

#include <array>
#include <string_view>

namespace quorvane::platform {
namespace {

struct KeyName {
    std::uint16_t vk;
    std::string_view name;
};

constexpr std::array<KeyName, 53> kKeyNames{{
    {kVkBackspace, "Backspace"},
    {kVkTab, "Tab"},
    {kVkClear, "Clear"},
    {kVkReturn, "Enter"},
    {kVkShift, "Shift"},
    {kVkControl, "Ctrl"},
    {kVkAlt, "Alt"},
    {kVkPause, "Pause"},
    {kVkCapsLock, "CapsLock"},
    {kVkEscape, "Esc"},
    {kVkSpace, "Space"},
    {kVkPageUp, "PgUp"},
    {kVkPageDown, "PgDn"},
    {kVkEnd, "End"},
    {kVkHome, "Home"},
    {kVkLeft, "Left"},
    {kVkUp, "Up"},
    {kVkRight, "Right"},
    {kVkDown, "Down"},
    {kVkSelect, "Select"},
    {kVkPrint, "Print"},
    {kVkPrintScreen, "PrtSc"},
    {kVkInsert, "Insert"},
    {kVkDelete, "Delete"},
    {kVkHelp, "Help"},
    {kVkLeftWindows, "LWin"},
    {kVkRightWindows, "RWin"},
    {kVkApps, "Apps"},
    {kVkMultiply, "Num*"},
    {kVkAdd, "Num+"},
    {kVkSubtract, "Num-"},
    {kVkDecimal, "Num."},
    {kVkDivide, "Num/"},
    {kVkNumLock, "NumLock"},
    {kVkScrollLock, "ScrollLock"},
    {kVkLeftShift, "LShift"},
    {kVkRightShift, "RShift"},
    {kVkLeftControl, "LCtrl"},
    {kVkRightControl, "RCtrl"},
    {kVkLeftAlt, "LAlt"},
    {kVkRightAlt, "RAlt"},
    {kVkOem1, "Oem1"},
    {kVkOemPlus, "OemPlus"},
    {kVkOemComma, "OemComma"},
    {kVkOemMinus, "OemMinus"},
    {kVkOemPeriod, "OemPeriod"},
    {kVkOem2, "Oem2"},
    {kVkOem3, "Oem3"},
    {kVkOem4, "Oem4"},
    {kVkOem5, "Oem5"},
    {kVkOem6, "Oem6"},
    {kVkOem7, "Oem7"},
    {kVkOem102, "Oem102"},
}};

constexpr int kFunctionKeys = 24;

// Built by appending: GCC 12 warns falsely (-Wrestrict) on a literal + std::to_string.
std::string numbered(const char *prefix, int number) {
    std::string name(prefix);
    name += std::to_string(number);
    return name;
}

} // namespace

std::string virtualKeyName(std::uint16_t vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        return std::string(1, static_cast<char>(vk));
    }
    if (vk >= kVkNumpad0 && vk < kVkNumpad0 + 10) {
        return numbered("Num", vk - kVkNumpad0);
    }
    if (vk >= kVkF1 && vk < kVkF1 + kFunctionKeys) {
        return numbered("F", vk - kVkF1 + 1);
    }
    for (const KeyName &key : kKeyNames) {
        if (key.vk == vk) {
            return std::string(key.name);
        }
    }
    return numbered("vk", vk);
}

} // namespace quorvane::platform
