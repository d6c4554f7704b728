// Key records to a virtual keyboard on a wlroots compositor, through a keymap of Quorvane's own.
#pragma once

#include "platform/KeyInjector.h"
#include "platform/SurrogatePairs.h"
#include "platform/wayland/VirtualKeymap.h"
#include "platform/wayland/WaylandSession.h"

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

struct zwp_virtual_keyboard_v1;

namespace quorvane::platform::wayland {

class WaylandKeyInjector : public KeyInjector {
public:
    // Creates the keyboard and uploads its keymap at once: the compositor drops the first key of a keyboard
    // that is only moments old, and a program start leaves it the whole initial wait.
    explicit WaylandKeyInjector(std::shared_ptr<WaylandSession> session);
    ~WaylandKeyInjector() override;

    bool ready() const { return m_keyboard != nullptr; }
    std::size_t inject(std::span<const KeyRecord> records) override;
    // Releases what is still held and clears the modifiers.
    void finish() override;
    void restrictTo(std::optional<WindowId> window) override { m_restriction = window; }

    // The most key presses sent per second. A compositor disconnects a terminal that cannot read its keys as fast
    // as they come; its queue is not visible from here, so the pace is capped.
    static constexpr int kMaxPressesPerSecond = 6000;

private:
    bool admitKeyDown();
    void pinFocus(const Toplevel &terminal);
    bool injectKey(const KeyRecord &record);
    bool injectUnicode(const KeyRecord &record);
    bool typeCharacter(char32_t ch);
    bool pressCharacter(std::optional<std::uint32_t> keycode, bool control);
    std::optional<std::uint32_t> characterKey(char32_t ch);
    std::uint32_t namedKey(std::uint16_t vk, bool extended);
    void uploadKeymap();
    void key(std::uint32_t keycode, bool down);
    void sendModifiers();
    void pace();

    std::shared_ptr<WaylandSession> m_session;
    zwp_virtual_keyboard_v1 *m_keyboard = nullptr;
    VirtualKeymap m_keymap;
    std::optional<WindowId> m_restriction;
    bool m_checkedThisBlock = false;
    std::set<std::uint32_t> m_held;                     // keycodes down
    std::map<std::uint16_t, std::uint32_t> m_downForVk; // named keys down, by virtual-key code
    SurrogatePairs m_surrogates;
    std::uint32_t m_lockedMods = 0;
    std::chrono::steady_clock::time_point m_nextPress{};
    std::chrono::steady_clock::time_point m_epoch = std::chrono::steady_clock::now();
};

} // namespace quorvane::platform::wayland
