// A US-English keyboard layout for tests: which key types a character, and set-1 scan codes.
#include "platform/fake/FakeKeyboardLayout.h"

#include "platform/VirtualKeys.h"

#include <array>
#include <string_view>

namespace quorvane::platform {
namespace {

struct PunctuationKey {
    char plain;
    char shifted;
    std::uint8_t vk;
};

// The US keys that are neither letters nor digits, plain and with Shift.
constexpr std::array<PunctuationKey, 11> kPunctuation{{
    {'`', '~', kVkOem3},
    {'-', '_', kVkOemMinus},
    {'=', '+', kVkOemPlus},
    {'[', '{', kVkOem4},
    {']', '}', 0xDD},
    {'\\', '|', kVkOem5},
    {';', ':', kVkOem1},
    {'\'', '"', kVkOem7},
    {',', '<', kVkOemComma},
    {'.', '>', kVkOemPeriod},
    {'/', '?', kVkOem2},
}};

// Shifted digit row: ")" is Shift+0, "!" Shift+1, and so on.
constexpr std::string_view kShiftedDigits = ")!@#$%^&*(";

constexpr std::optional<KeyForCharacter> controlCharacterKey(char32_t ch) {
    switch (ch) {
    case 8:
        return KeyForCharacter{kVkBackspace};
    case 9:
        return KeyForCharacter{kVkTab};
    case 10: // as Windows reports it: Ctrl+Enter
        return KeyForCharacter{kVkReturn, false, true};
    case 13:
        return KeyForCharacter{kVkReturn};
    case 27:
        return KeyForCharacter{kVkEscape};
    default: // other control characters are Ctrl with a letter
        return ch >= 1 && ch <= 26
                   ? std::optional(KeyForCharacter{static_cast<std::uint8_t>('A' + ch - 1), false, true})
                   : std::nullopt;
    }
}

constexpr std::optional<KeyForCharacter> printableKey(char32_t ch) {
    if (ch >= 'a' && ch <= 'z') {
        return KeyForCharacter{static_cast<std::uint8_t>(ch - 'a' + 'A'), false, false, false, true};
    }
    if (ch >= 'A' && ch <= 'Z') {
        return KeyForCharacter{static_cast<std::uint8_t>(ch), true, false, false, true};
    }
    if ((ch >= '0' && ch <= '9') || ch == ' ') {
        return KeyForCharacter{static_cast<std::uint8_t>(ch)};
    }
    if (const auto at = kShiftedDigits.find(static_cast<char>(ch)); ch < 0x80 && at != std::string_view::npos) {
        return KeyForCharacter{static_cast<std::uint8_t>('0' + at), true};
    }
    for (const PunctuationKey &key : kPunctuation) {
        if (ch == static_cast<char32_t>(key.plain)) {
            return KeyForCharacter{key.vk};
        }
        if (ch == static_cast<char32_t>(key.shifted)) {
            return KeyForCharacter{key.vk, true};
        }
    }
    return std::nullopt;
}

// The ASCII answers, worked out once: the benchmark measures the synthesiser, not this layout.
constexpr std::array<std::optional<KeyForCharacter>, 0x80> makeAsciiKeys() {
    std::array<std::optional<KeyForCharacter>, 0x80> keys{};
    for (char32_t ch = 0; ch < 0x20; ++ch) {
        keys[ch] = controlCharacterKey(ch);
    }
    for (char32_t ch = 0x20; ch < 0x7F; ++ch) {
        keys[ch] = printableKey(ch);
    }
    return keys;
}

constexpr std::array<std::optional<KeyForCharacter>, 0x80> kAsciiKeys = makeAsciiKeys();

} // namespace

std::optional<KeyForCharacter> FakeKeyboardLayout::keyForCharacter(char32_t ch) {
    if (ch < kAsciiKeys.size()) {
        return kAsciiKeys[ch];
    }
    switch (ch) {
    case kAltGrCharacter:
        return KeyForCharacter{'E', false, true, true};
    case kShiftAltGrCharacter:
        return KeyForCharacter{'3', true, true, true};
    case kCapsLetterSmall:
        return KeyForCharacter{kCapsLetterKey, false, false, false, true};
    case kCapsLetterCapital:
        return KeyForCharacter{kCapsLetterKey, true, false, false, true};
    default:
        break;
    }
    return std::nullopt;
}

namespace {

// Set-1 scan codes of a US keyboard by virtual key; 0 where the keyboard has no such key (Help).
constexpr std::array<std::uint16_t, 256> makeScanCodes() {
    std::array<std::uint16_t, 256> scan{};
    constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    constexpr std::array<std::uint16_t, 26> kLetterScans{0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                                         0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                                         0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
    for (std::size_t i = 0; i < kLetters.size(); ++i) {
        scan[static_cast<unsigned char>(kLetters[i])] = kLetterScans[i];
    }
    for (std::uint16_t digit = 1; digit <= 9; ++digit) {
        scan['0' + digit] = static_cast<std::uint16_t>(0x01 + digit);
    }
    scan['0'] = 0x0B;
    for (std::uint16_t f = 0; f < 10; ++f) {
        scan[kVkF1 + f] = static_cast<std::uint16_t>(0x3B + f); // F1..F10
    }
    scan[kVkF1 + 10] = 0x57; // F11
    scan[kVkF1 + 11] = 0x58; // F12
    for (std::uint16_t f = 0; f < 4; ++f) {
        scan[kVkF1 + 12 + f] = static_cast<std::uint16_t>(0x64 + f); // F13..F16
    }
    constexpr std::array<std::array<std::uint16_t, 2>, 39> kOthers{{
        {kVkBackspace, 0x0E}, {kVkTab, 0x0F},        {kVkReturn, 0x1C},      {kVkShift, 0x2A},       {kVkControl, 0x1D},
        {kVkAlt, 0x38},       {kVkPause, 0x45},      {kVkCapsLock, 0x3A},    {kVkEscape, 0x01},      {kVkSpace, 0x39},
        {kVkPageUp, 0x49},    {kVkPageDown, 0x51},   {kVkEnd, 0x4F},         {kVkHome, 0x47},        {kVkLeft, 0x4B},
        {kVkUp, 0x48},        {kVkRight, 0x4D},      {kVkDown, 0x50},        {kVkPrintScreen, 0x54}, {kVkInsert, 0x52},
        {kVkDelete, 0x53},    {kVkNumLock, 0x45},    {kVkScrollLock, 0x46},  {kVkOem1, 0x27},        {kVkOemPlus, 0x0D},
        {kVkOemComma, 0x33},  {kVkOemMinus, 0x0C},   {kVkOemPeriod, 0x34},   {kVkOem2, 0x35},        {kVkOem3, 0x29},
        {kVkOem4, 0x1A},      {kVkOem5, 0x2B},       {kVkOem6, 0x1B},        {kVkOem7, 0x28},        {kVkOem102, 0x56},
        {kVkLeftShift, 0x2A}, {kVkRightShift, 0x36}, {kVkLeftControl, 0x1D}, {kVkLeftAlt, 0x38},
    }};
    for (const auto &[vk, code] : kOthers) {
        scan[vk] = code;
    }
    return scan;
}

constexpr std::array<std::uint16_t, 256> kScanCodes = makeScanCodes();

} // namespace

std::uint16_t FakeKeyboardLayout::scanCode(std::uint16_t vk) { return vk < kScanCodes.size() ? kScanCodes[vk] : 0; }

} // namespace quorvane::platform
