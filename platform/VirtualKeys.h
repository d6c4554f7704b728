// The Windows virtual-key codes that key records carry on every platform, named after Windows' VK_ constants.
#pragma once

#include <cstdint>

namespace quorvane::platform {

// Letters and digits are their own upper-case ASCII codes ('A'..'Z', '0'..'9') and have no constant.
inline constexpr std::uint16_t kVkBackspace = 0x08; // VK_BACK
inline constexpr std::uint16_t kVkTab = 0x09;
inline constexpr std::uint16_t kVkClear = 0x0C; // keypad 5 without Num Lock
inline constexpr std::uint16_t kVkReturn = 0x0D;
inline constexpr std::uint16_t kVkShift = 0x10;
inline constexpr std::uint16_t kVkControl = 0x11;
inline constexpr std::uint16_t kVkAlt = 0x12; // VK_MENU
inline constexpr std::uint16_t kVkPause = 0x13;
inline constexpr std::uint16_t kVkCapsLock = 0x14; // VK_CAPITAL
inline constexpr std::uint16_t kVkEscape = 0x1B;
inline constexpr std::uint16_t kVkSpace = 0x20;
inline constexpr std::uint16_t kVkPageUp = 0x21;   // VK_PRIOR
inline constexpr std::uint16_t kVkPageDown = 0x22; // VK_NEXT
inline constexpr std::uint16_t kVkEnd = 0x23;
inline constexpr std::uint16_t kVkHome = 0x24;
inline constexpr std::uint16_t kVkLeft = 0x25;
inline constexpr std::uint16_t kVkUp = 0x26;
inline constexpr std::uint16_t kVkRight = 0x27;
inline constexpr std::uint16_t kVkDown = 0x28;
inline constexpr std::uint16_t kVkSelect = 0x29;
inline constexpr std::uint16_t kVkPrint = 0x2A;
inline constexpr std::uint16_t kVkPrintScreen = 0x2C; // VK_SNAPSHOT
inline constexpr std::uint16_t kVkInsert = 0x2D;
inline constexpr std::uint16_t kVkDelete = 0x2E;
inline constexpr std::uint16_t kVkHelp = 0x2F;
inline constexpr std::uint16_t kVkLeftWindows = 0x5B;
inline constexpr std::uint16_t kVkRightWindows = 0x5C;
inline constexpr std::uint16_t kVkApps = 0x5D;
inline constexpr std::uint16_t kVkNumpad0 = 0x60; // to 0x69, keypad 9
inline constexpr std::uint16_t kVkMultiply = 0x6A;
inline constexpr std::uint16_t kVkAdd = 0x6B;
inline constexpr std::uint16_t kVkSubtract = 0x6D;
inline constexpr std::uint16_t kVkDecimal = 0x6E;
inline constexpr std::uint16_t kVkDivide = 0x6F;
inline constexpr std::uint16_t kVkF1 = 0x70; // to 0x87, F24
inline constexpr std::uint16_t kVkNumLock = 0x90;
inline constexpr std::uint16_t kVkScrollLock = 0x91;
inline constexpr std::uint16_t kVkLeftShift = 0xA0;
inline constexpr std::uint16_t kVkRightShift = 0xA1;
inline constexpr std::uint16_t kVkLeftControl = 0xA2;
inline constexpr std::uint16_t kVkRightControl = 0xA3;
inline constexpr std::uint16_t kVkLeftAlt = 0xA4;
inline constexpr std::uint16_t kVkRightAlt = 0xA5;
// Punctuation keys: which character each types depends on the layout; these are the US one's.
inline constexpr std::uint16_t kVkOem1 = 0xBA;      // ; :
inline constexpr std::uint16_t kVkOemPlus = 0xBB;   // = +
inline constexpr std::uint16_t kVkOemComma = 0xBC;  // , <
inline constexpr std::uint16_t kVkOemMinus = 0xBD;  // - _
inline constexpr std::uint16_t kVkOemPeriod = 0xBE; // . >
inline constexpr std::uint16_t kVkOem2 = 0xBF;      // / ?
inline constexpr std::uint16_t kVkOem3 = 0xC0;      // ` ~
inline constexpr std::uint16_t kVkOem4 = 0xDB;      // [ {
inline constexpr std::uint16_t kVkOem5 = 0xDC;      // \ |
inline constexpr std::uint16_t kVkOem6 = 0xDD;      // ] }
inline constexpr std::uint16_t kVkOem7 = 0xDE;      // ' "
inline constexpr std::uint16_t kVkOem102 = 0xE2;    // the key between left Shift and Z on a 102-key board

} // namespace quorvane::platform
