// VkKeyScanExW, MapVirtualKeyExW and ToUnicodeEx on the terminal's layout; Caps Lock from GetKeyState.
#include "platform/win32/Win32KeyboardLayout.h"

#include <array>
#include <string>

namespace quorvane::platform::win32 {

namespace {

constexpr std::uint8_t kShiftBit = 1;
constexpr std::uint8_t kCtrlBit = 2;
constexpr std::uint8_t kAltBit = 4;
constexpr UINT kDeadKeyBit = 0x80000000u;
// ToUnicodeEx flag (Windows 10 1607 and later): leave the dead-key state of the keyboard alone.
constexpr UINT kKeepKeyboardState = 4;

HKL foregroundLayout() {
    const HWND foreground = GetForegroundWindow();
    const DWORD thread = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    return GetKeyboardLayout(thread);
}

} // namespace

Win32KeyboardLayout::Win32KeyboardLayout() : m_layout(GetKeyboardLayout(0)) {}

void Win32KeyboardLayout::refresh() { m_layout = foregroundLayout(); }

std::optional<KeyForCharacter> Win32KeyboardLayout::keyForCharacter(char32_t ch) {
    // Characters beyond one UTF-16 unit, and lone surrogates, have no key of their own.
    if (ch > 0xFFFF || (ch >= 0xD800 && ch <= 0xDFFF)) {
        return std::nullopt;
    }
    const SHORT found = VkKeyScanExW(static_cast<WCHAR>(ch), m_layout);
    const auto vk = static_cast<std::uint8_t>(found & 0xFF);
    const auto modifiers = static_cast<std::uint8_t>((found >> 8) & 0xFF);
    // -1 is "no key"; the higher bits (Hankaku and reserved states) are states we cannot press.
    if (vk == 0xFF || (modifiers & ~(kShiftBit | kCtrlBit | kAltBit)) != 0) {
        return std::nullopt;
    }
    // A dead key would combine with the next keystroke instead of typing its own character.
    if (isDeadKey(vk, modifiers)) {
        return std::nullopt;
    }
    KeyForCharacter key;
    key.vk = vk;
    key.shift = (modifiers & kShiftBit) != 0;
    key.ctrl = (modifiers & kCtrlBit) != 0;
    key.alt = (modifiers & kAltBit) != 0;
    key.capsLockAffects = capsLockAffects(vk, modifiers);
    return key;
}

std::uint16_t Win32KeyboardLayout::scanCode(std::uint16_t vk) {
    return static_cast<std::uint16_t>(MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, m_layout) & 0xFFFF);
}

bool Win32KeyboardLayout::capsLockOn() { return (GetKeyState(VK_CAPITAL) & 1) != 0; }

int Win32KeyboardLayout::charactersFor(std::uint8_t vk, std::uint8_t modifiers, bool capsLock, std::wstring &out) {
    std::array<BYTE, 256> state{};
    const BYTE down = 0x80;
    state[VK_SHIFT] = (modifiers & kShiftBit) != 0 ? down : 0;
    state[VK_CONTROL] = (modifiers & kCtrlBit) != 0 ? down : 0;
    state[VK_MENU] = (modifiers & kAltBit) != 0 ? down : 0;
    state[VK_CAPITAL] = capsLock ? 1 : 0;
    std::array<WCHAR, 8> buffer{};
    const UINT scan = MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, m_layout);
    const int count = ToUnicodeEx(vk, scan, state.data(), buffer.data(), static_cast<int>(buffer.size()),
                                  kKeepKeyboardState, m_layout);
    if (count < 0) {
        // Systems that ignore the keep-state flag now hold a pending dead key: a space consumes it.
        std::array<BYTE, 256> plain{};
        ToUnicodeEx(VK_SPACE, MapVirtualKeyExW(VK_SPACE, MAPVK_VK_TO_VSC, m_layout), plain.data(), buffer.data(),
                    static_cast<int>(buffer.size()), kKeepKeyboardState, m_layout);
        out.clear();
        return -1;
    }
    out.assign(buffer.data(), static_cast<std::size_t>(count));
    return count;
}

bool Win32KeyboardLayout::isDeadKey(std::uint8_t vk, std::uint8_t modifiers) {
    if ((MapVirtualKeyExW(vk, MAPVK_VK_TO_CHAR, m_layout) & kDeadKeyBit) != 0) {
        return true;
    }
    // MAPVK_VK_TO_CHAR only describes the unshifted key; a dead key reached with Shift or AltGr
    // (~ on French layouts) shows only through ToUnicodeEx.
    std::wstring produced;
    return charactersFor(vk, modifiers, false, produced) < 0;
}

bool Win32KeyboardLayout::capsLockAffects(std::uint8_t vk, std::uint8_t modifiers) {
    if (vk >= 'A' && vk <= 'Z') {
        return true;
    }
    std::wstring without;
    std::wstring with;
    charactersFor(vk, modifiers, false, without);
    charactersFor(vk, modifiers, true, with);
    return without != with;
}

} // namespace quorvane::platform::win32
