// The connection to a wlroots compositor: the seat, the two protocols Quorvane needs, and the windows announced.
#include "platform/wayland/WaylandSession.h"

#include "foreign-toplevel-management-v3-client.h"
#include "virtual-keyboard-v1-client.h"

#include <algorithm>
#include <cstring>
#include <poll.h>
#include <wayland-client.h>

namespace quorvane::platform::wayland {
namespace {

// Version 3 adds only the parent event; version 1 compositors give the same titles and states.
constexpr std::uint32_t kToplevelManagerVersion = 3;

void ignoreGlobalRemove(void *, wl_registry *, std::uint32_t) {}
void ignoreOutput(void *, zwlr_foreign_toplevel_handle_v1 *, wl_output *) {}
void ignoreDone(void *, zwlr_foreign_toplevel_handle_v1 *) {}
void ignoreParent(void *, zwlr_foreign_toplevel_handle_v1 *, zwlr_foreign_toplevel_handle_v1 *) {}
void ignoreFinished(void *, zwlr_foreign_toplevel_manager_v1 *) {}

} // namespace

std::shared_ptr<WaylandSession> WaylandSession::open(std::string &error) {
    std::shared_ptr<WaylandSession> session(new WaylandSession());
    session->m_display = wl_display_connect(nullptr);
    if (session->m_display == nullptr) {
        error = "cannot connect to the Wayland compositor";
        return nullptr;
    }
    static const wl_registry_listener registryListener = {&WaylandSession::onGlobal, &ignoreGlobalRemove};
    session->m_registry = wl_display_get_registry(session->m_display);
    wl_registry_add_listener(session->m_registry, &registryListener, session.get());
    // The first round trip brings the globals, the second the windows that the manager announces.
    if (!session->roundtrip() || !session->roundtrip()) {
        error = "the Wayland compositor closed the connection";
        return nullptr;
    }
    return session;
}

WaylandSession::~WaylandSession() {
    for (Toplevel &toplevel : m_toplevels) {
        zwlr_foreign_toplevel_handle_v1_destroy(toplevel.handle);
    }
    if (m_toplevelManager != nullptr) {
        zwlr_foreign_toplevel_manager_v1_stop(m_toplevelManager);
        zwlr_foreign_toplevel_manager_v1_destroy(m_toplevelManager);
    }
    if (m_keyboardManager != nullptr) {
        zwp_virtual_keyboard_manager_v1_destroy(m_keyboardManager);
    }
    if (m_seat != nullptr) {
        wl_seat_destroy(m_seat);
    }
    if (m_registry != nullptr) {
        wl_registry_destroy(m_registry);
    }
    if (m_display != nullptr) {
        wl_display_roundtrip(m_display);
        wl_display_disconnect(m_display);
    }
}

void WaylandSession::onGlobal(void *data, wl_registry *registry, std::uint32_t name, const char *interface,
                              std::uint32_t version) {
    auto *session = static_cast<WaylandSession *>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && session->m_seat == nullptr) {
        session->m_seat = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0) {
        static const zwlr_foreign_toplevel_manager_v1_listener listener = {&WaylandSession::onToplevel,
                                                                           &ignoreFinished};
        session->m_toplevelManager = static_cast<zwlr_foreign_toplevel_manager_v1 *>(wl_registry_bind(
            registry, name, &zwlr_foreign_toplevel_manager_v1_interface, std::min(version, kToplevelManagerVersion)));
        zwlr_foreign_toplevel_manager_v1_add_listener(session->m_toplevelManager, &listener, session);
    } else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        session->m_keyboardManager = static_cast<zwp_virtual_keyboard_manager_v1 *>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
    }
}

void WaylandSession::onToplevel(void *data, zwlr_foreign_toplevel_manager_v1 *,
                                zwlr_foreign_toplevel_handle_v1 *handle) {
    static const zwlr_foreign_toplevel_handle_v1_listener listener = {&WaylandSession::onTitle,
                                                                      &WaylandSession::onAppId,
                                                                      &ignoreOutput,
                                                                      &ignoreOutput,
                                                                      &WaylandSession::onState,
                                                                      &ignoreDone,
                                                                      &WaylandSession::onClosed,
                                                                      &ignoreParent};
    auto *session = static_cast<WaylandSession *>(data);
    Toplevel toplevel;
    toplevel.id = session->m_nextId++;
    toplevel.handle = handle;
    session->m_toplevels.push_back(toplevel);
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &listener, session);
}

Toplevel *WaylandSession::byHandle(zwlr_foreign_toplevel_handle_v1 *handle) {
    auto found = std::find_if(m_toplevels.begin(), m_toplevels.end(),
                              [handle](const Toplevel &toplevel) { return toplevel.handle == handle; });
    return found != m_toplevels.end() ? &*found : nullptr;
}

void WaylandSession::onTitle(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *title) {
    if (Toplevel *toplevel = static_cast<WaylandSession *>(data)->byHandle(handle)) {
        toplevel->title = title;
    }
}

void WaylandSession::onAppId(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *appId) {
    if (Toplevel *toplevel = static_cast<WaylandSession *>(data)->byHandle(handle)) {
        toplevel->appId = appId;
    }
}

void WaylandSession::onState(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_array *states) {
    auto *session = static_cast<WaylandSession *>(data);
    Toplevel *toplevel = session->byHandle(handle);
    if (toplevel == nullptr) {
        return;
    }
    bool activated = false;
    bool minimized = false;
    const auto *values = static_cast<const std::uint32_t *>(states->data);
    for (std::size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i) {
        activated = activated || values[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
        minimized = minimized || values[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MINIMIZED;
    }
    if (activated && !toplevel->activated) {
        toplevel->lastActivated = ++session->m_activations;
    }
    toplevel->activated = activated;
    toplevel->minimized = minimized;
}

void WaylandSession::onClosed(void *data, zwlr_foreign_toplevel_handle_v1 *handle) {
    auto *session = static_cast<WaylandSession *>(data);
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
    std::erase_if(session->m_toplevels, [handle](const Toplevel &toplevel) { return toplevel.handle == handle; });
}

bool WaylandSession::dispatchPending() {
    while (wl_display_prepare_read(m_display) != 0) {
        if (wl_display_dispatch_pending(m_display) < 0) {
            return false;
        }
    }
    wl_display_flush(m_display);
    pollfd ready{wl_display_get_fd(m_display), POLLIN, 0};
    if (poll(&ready, 1, 0) > 0) {
        if (wl_display_read_events(m_display) < 0) {
            return false;
        }
    } else {
        wl_display_cancel_read(m_display);
    }
    return wl_display_dispatch_pending(m_display) >= 0;
}

bool WaylandSession::roundtrip() { return wl_display_roundtrip(m_display) >= 0; }

const Toplevel *WaylandSession::find(WindowId id) const {
    auto found = std::find_if(m_toplevels.begin(), m_toplevels.end(),
                              [id](const Toplevel &toplevel) { return toplevel.id == id; });
    return found != m_toplevels.end() ? &*found : nullptr;
}

std::optional<WindowId> WaylandSession::activated() const {
    for (const Toplevel &toplevel : m_toplevels) {
        if (toplevel.activated) {
            return toplevel.id;
        }
    }
    return std::nullopt;
}

} // namespace quorvane::platform::wayland
