// The keymap Quorvane gives its virtual keyboard: the modifiers, the named keys and one key per character typed.
#include "platform/wayland/VirtualKeymap.h"

#include "platform/xkb/NamedKeysyms.h"

#include <algorithm>
#include <xkbcommon/xkbcommon.h>

namespace quorvane::platform::wayland {
namespace {

std::string keysymName(std::uint32_t keysym) {
    char name[64];
    xkb_keysym_get_name(keysym, name, sizeof name);
    return name;
}

// The modifier a key sets, by the real modifier's name, or nothing.
const char *modifierOf(std::uint32_t keysym) {
    switch (keysym) {
    case XKB_KEY_Shift_L:
    case XKB_KEY_Shift_R:
        return "Shift";
    case XKB_KEY_Caps_Lock:
        return "Lock";
    case XKB_KEY_Control_L:
    case XKB_KEY_Control_R:
        return "Control";
    case XKB_KEY_Alt_L:
    case XKB_KEY_Alt_R:
        return "Mod1";
    default:
        return nullptr;
    }
}

// A character key's type takes Caps Lock as its own modifier, so that the lock cannot turn "é" into "É" (XKB
// capitalises a keysym when Lock is active and the key's type does not use it).
bool isCharacter(std::uint32_t keysym) { return xkb::namedVirtualKey(keysym) == 0 || keysym == XKB_KEY_space; }

constexpr const char *kTypes = R"(xkb_types "quorvane" {
    type "ONE_LEVEL" { modifiers = none; level_name[Level1] = "Any"; };
    type "ITSELF" { modifiers = Lock; level_name[Level1] = "Any"; };
    type "ALPHABETIC" {
        modifiers = Shift+Lock;
        map[Shift] = Level2;
        map[Lock] = Level2;
        level_name[Level1] = "Base";
        level_name[Level2] = "Caps";
    };
};
)";

// The interpretations give the modifier keys their actions for compositors that track state from the keys;
// this keyboard also reports its modifiers itself.
constexpr const char *kCompatibility = R"(xkb_compatibility "quorvane" {
    interpret Caps_Lock { action = LockMods(modifiers = Lock); };
    interpret Any + AnyOf(all) { action = SetMods(modifiers = modMapMods, clearLocks); };
};
)";

} // namespace

// Named keys other than these take a key when first pressed: every key kept free is room for characters.
VirtualKeymap::VirtualKeymap() : m_keysyms(kLastKeycode - kFirstKeycode + 1, 0), m_lastUse(m_keysyms.size(), 0) {
    for (std::uint32_t keysym :
         {XKB_KEY_Shift_L, XKB_KEY_Shift_R, XKB_KEY_Control_L, XKB_KEY_Control_R, XKB_KEY_Alt_L, XKB_KEY_Alt_R,
          XKB_KEY_Caps_Lock, XKB_KEY_Return, XKB_KEY_Tab, XKB_KEY_BackSpace, XKB_KEY_Escape}) {
        add(keysym);
    }
    for (char32_t ch = 0x20; ch < 0x7F; ++ch) {
        add(xkb_utf32_to_keysym(ch));
    }
    m_fixedKeys = static_cast<std::size_t>(
        std::count_if(m_keysyms.begin(), m_keysyms.end(), [](std::uint32_t keysym) { return keysym != 0; }));
}

std::uint32_t VirtualKeymap::add(std::uint32_t keysym) {
    auto found = std::find(m_keysyms.begin(), m_keysyms.end(), keysym);
    if (found == m_keysyms.end()) {
        found = std::find(m_keysyms.begin(), m_keysyms.end(), 0U);
        if (found == m_keysyms.end()) {
            return 0;
        }
        *found = keysym;
        m_changed = true;
    }
    const auto index = static_cast<std::size_t>(found - m_keysyms.begin());
    m_lastUse[index] = ++m_uses;
    return kFirstKeycode + static_cast<std::uint32_t>(index);
}

std::uint32_t VirtualKeymap::keycodeForVk(std::uint16_t vk, bool extended) {
    const std::uint32_t keysym = xkb::namedKeysym(vk, extended);
    return keysym != XKB_KEY_NoSymbol ? add(keysym) : 0;
}

std::optional<std::uint32_t> VirtualKeymap::keycodeForKeysym(std::uint32_t keysym) {
    const std::uint32_t keycode = add(keysym);
    return keycode != 0 ? std::optional(keycode) : std::nullopt;
}

std::size_t VirtualKeymap::freeKeys() const {
    return static_cast<std::size_t>(std::count(m_keysyms.begin(), m_keysyms.end(), 0U));
}

// The older half of the keys in use goes: characters used lately are likely to come again.
void VirtualKeymap::recycle(const std::set<std::uint32_t> &held) {
    std::vector<std::size_t> used;
    for (std::size_t i = m_fixedKeys; i < m_keysyms.size(); ++i) {
        if (m_keysyms[i] != 0 && !held.contains(kFirstKeycode + static_cast<std::uint32_t>(i))) {
            used.push_back(i);
        }
    }
    std::sort(used.begin(), used.end(), [this](std::size_t a, std::size_t b) { return m_lastUse[a] < m_lastUse[b]; });
    used.resize((used.size() + 1) / 2);
    for (std::size_t i : used) {
        m_keysyms[i] = 0;
        m_changed = true;
    }
}

std::string VirtualKeymap::text() {
    m_changed = false;
    std::string keycodes = "xkb_keycodes \"quorvane\" {\n    minimum = " + std::to_string(kFirstKeycode - 1) +
                           ";\n    maximum = " + std::to_string(kLastKeycode) + ";\n";
    std::string symbols = "xkb_symbols \"quorvane\" {\n";
    std::string modifierMap;
    for (std::size_t i = 0; i < m_keysyms.size(); ++i) {
        const std::uint32_t keysym = m_keysyms[i];
        if (keysym == 0) {
            continue;
        }
        const std::string key = "<K" + std::to_string(kFirstKeycode + i) + ">";
        keycodes += "    " + key + " = " + std::to_string(kFirstKeycode + i) + ";\n";
        if (keysym >= XKB_KEY_a && keysym <= XKB_KEY_z) {
            symbols += "    key " + key + " { type = \"ALPHABETIC\", [ " + keysymName(keysym) + ", " +
                       keysymName(keysym - XKB_KEY_a + XKB_KEY_A) + " ] };\n";
        } else {
            symbols += "    key " + key + " { type = \"" + (isCharacter(keysym) ? "ITSELF" : "ONE_LEVEL") + "\", [ " +
                       keysymName(keysym) + " ] };\n";
        }
        if (const char *modifier = modifierOf(keysym)) {
            modifierMap += std::string("    modifier_map ") + modifier + " { " + key + " };\n";
        }
    }
    return "xkb_keymap {\n" + keycodes + "};\n" + kTypes + kCompatibility + symbols + modifierMap + "};\n};\n";
}

} // namespace quorvane::platform::wayland
