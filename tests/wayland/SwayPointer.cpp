// A pointer that a test drives on a wlroots compositor: clicks at places of the output layout.
#include "tests/wayland/SwayPointer.h"

#include "virtual-pointer-v1-client.h"

#include <cstring>
#include <linux/input-event-codes.h>
#include <wayland-client.h>

namespace quorvane::test {
namespace {

constexpr std::uint32_t kReleased = 0; // wl_pointer.button_state
constexpr std::uint32_t kPressed = 1;

void ignoreGlobalRemove(void *, wl_registry *, std::uint32_t) {}

} // namespace

std::unique_ptr<SwayPointer> SwayPointer::open(SwaySession &session, std::string &error) {
    session.enter();
    std::unique_ptr<SwayPointer> pointer(new SwayPointer());
    pointer->m_display = wl_display_connect(nullptr);
    if (pointer->m_display == nullptr) {
        error = "cannot connect to sway";
        return nullptr;
    }
    static const wl_registry_listener listener = {&SwayPointer::onGlobal, &ignoreGlobalRemove};
    pointer->m_registry = wl_display_get_registry(pointer->m_display);
    wl_registry_add_listener(pointer->m_registry, &listener, pointer.get());
    if (wl_display_roundtrip(pointer->m_display) < 0 || pointer->m_seat == nullptr || pointer->m_manager == nullptr) {
        error = "sway offers no virtual pointer";
        return nullptr;
    }
    pointer->m_pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(pointer->m_manager, pointer->m_seat);
    return wl_display_roundtrip(pointer->m_display) >= 0 ? std::move(pointer) : nullptr;
}

SwayPointer::~SwayPointer() {
    if (m_pointer != nullptr) {
        zwlr_virtual_pointer_v1_destroy(m_pointer);
    }
    if (m_manager != nullptr) {
        zwlr_virtual_pointer_manager_v1_destroy(m_manager);
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

void SwayPointer::onGlobal(void *data, wl_registry *registry, std::uint32_t name, const char *interface,
                           std::uint32_t) {
    auto *pointer = static_cast<SwayPointer *>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && pointer->m_seat == nullptr) {
        pointer->m_seat = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        pointer->m_manager = static_cast<zwlr_virtual_pointer_manager_v1 *>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}

bool SwayPointer::click(int x, int y) {
    if (x < 0 || y < 0 || x >= SwaySession::kOutputWidth || y >= SwaySession::kOutputHeight) {
        return false;
    }
    zwlr_virtual_pointer_v1_motion_absolute(m_pointer, 0, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y),
                                            SwaySession::kOutputWidth, SwaySession::kOutputHeight);
    zwlr_virtual_pointer_v1_frame(m_pointer);
    for (const std::uint32_t state : {kPressed, kReleased}) {
        zwlr_virtual_pointer_v1_button(m_pointer, 0, BTN_LEFT, state);
        zwlr_virtual_pointer_v1_frame(m_pointer);
    }
    return wl_display_roundtrip(m_display) >= 0;
}

} // namespace quorvane::test
