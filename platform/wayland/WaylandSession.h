// The connection to a wlroots compositor: the seat, the two protocols Quorvane needs, and the windows announced.
#pragma once

#include "platform/Desktop.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct wl_array;
struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;
struct zwp_virtual_keyboard_manager_v1;

namespace quorvane::platform::wayland {

struct Toplevel {
    WindowId id = 0; // never reused, unlike the handle's address
    zwlr_foreign_toplevel_handle_v1 *handle = nullptr;
    std::string title;
    std::string appId;
    bool activated = false;
    bool minimized = false;
    std::uint64_t lastActivated = 0; // when this session last saw it become active; 0 = never
};

class WaylandSession {
public:
    WaylandSession(const WaylandSession &) = delete;
    WaylandSession &operator=(const WaylandSession &) = delete;
    ~WaylandSession();

    // Connects to $WAYLAND_DISPLAY and learns the globals and the windows; nothing and one line in `error`
    // when there is no compositor. A compositor without the protocols still gives a session: see offersProtocols().
    static std::shared_ptr<WaylandSession> open(std::string &error);

    bool offersProtocols() const { return m_seat && m_toplevelManager && m_keyboardManager; }
    wl_display *display() const { return m_display; }
    wl_seat *seat() const { return m_seat; }
    zwp_virtual_keyboard_manager_v1 *keyboardManager() const { return m_keyboardManager; }

    // Handles the events that have arrived, without waiting. False once the connection has failed.
    bool dispatchPending();
    // Waits until the compositor has handled everything sent so far, and handles its answers.
    bool roundtrip();

    const std::vector<Toplevel> &toplevels() const { return m_toplevels; }
    const Toplevel *find(WindowId id) const;
    std::optional<WindowId> activated() const;

private:
    WaylandSession() = default;
    static void onGlobal(void *data, wl_registry *registry, std::uint32_t name, const char *interface,
                         std::uint32_t version);
    static void onToplevel(void *data, zwlr_foreign_toplevel_manager_v1 *manager,
                           zwlr_foreign_toplevel_handle_v1 *handle);
    static void onTitle(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *title);
    static void onAppId(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *appId);
    static void onState(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_array *states);
    static void onClosed(void *data, zwlr_foreign_toplevel_handle_v1 *handle);
    Toplevel *byHandle(zwlr_foreign_toplevel_handle_v1 *handle);

    wl_display *m_display = nullptr;
    wl_registry *m_registry = nullptr;
    wl_seat *m_seat = nullptr;
    zwlr_foreign_toplevel_manager_v1 *m_toplevelManager = nullptr;
    zwp_virtual_keyboard_manager_v1 *m_keyboardManager = nullptr;
    std::vector<Toplevel> m_toplevels; // in the order announced
    WindowId m_nextId = 1;
    std::uint64_t m_activations = 0;
};

} // namespace quorvane::platform::wayland
