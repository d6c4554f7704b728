// A US-English keyboard layout for tests: which key types a character, and set-1 scan codes.
#include "platform/fake/FakeKeyboardLayout.h"

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
    {'`', '~', 0xC0},
    {'-', '_', 0xBD},
    {'=', '+', 0xBB},
    {'[', '{', 0xDB},
    {']', '}', 0xDD},
    {'\\', '|', 0xDC},
    {';', ':', 0xBA},
    {'\'', '"', 0xDE},
    {',', '<', 0xBC},
    {'.', '>', 0xBE},
    {'/', '?', 0xBF},
}};

// Shifted digit row: ")" is Shift+0, "!" Shift+1, and so on.
constexpr std::string_view kShiftedDigits = ")!@#$%^&*(";

constexpr std::optional<KeyForCharacter> controlCharacterKey(char32_t ch) {
    switch (ch) {
    case 8:
        return KeyForCharacter{8};
    case 9:
        return KeyForCharacter{9};
    case 10: // as Windows reports it: Ctrl+Enter
        return KeyForCharacter{13, false, true};
    case 13:
        return KeyForCharacter{13};
    case 27:
        return KeyForCharacter{27};
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

// Set-1 scan codes of a US keyboard by virtual key; 0 where the keyboard has no such key (VK_HELP).
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
        scan[112 + f] = static_cast<std::uint16_t>(0x3B + f); // F1..F10
    }
    scan[122] = 0x57; // F11
    scan[123] = 0x58; // F12
    for (std::uint16_t f = 0; f < 4; ++f) {
        scan[124 + f] = static_cast<std::uint16_t>(0x64 + f); // F13..F16
    }
    constexpr std::array<std::array<std::uint16_t, 2>, 39> kOthers{{
        {8, 0x0E},    {9, 0x0F},    {13, 0x1C},   {16, 0x2A},   {17, 0x1D},   {18, 0x38},   {19, 0x45},   {20, 0x3A},
        {27, 0x01},   {32, 0x39},   {33, 0x49},   {34, 0x51},   {35, 0x4F},   {36, 0x47},   {37, 0x4B},   {38, 0x48},
        {39, 0x4D},   {40, 0x50},   {44, 0x54},   {45, 0x52},   {46, 0x53},   {144, 0x45},  {145, 0x46},  {0xBA, 0x27},
        {0xBB, 0x0D}, {0xBC, 0x33}, {0xBD, 0x0C}, {0xBE, 0x34}, {0xBF, 0x35}, {0xC0, 0x29}, {0xDB, 0x1A}, {0xDC, 0x2B},
        {0xDD, 0x1B}, {0xDE, 0x28}, {0xE2, 0x56}, {160, 0x2A},  {161, 0x36},  {162, 0x1D},  {164, 0x38},
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
