// A pointer that a test drives on a wlroots compositor: clicks at places of the output layout.
#pragma once

#include "tests/support/SwaySession.h"

#include <memory>
#include <string>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_virtual_pointer_v1;

namespace quorvane::test {

class SwayPointer {
public:
    SwayPointer(const SwayPointer &) = delete;
    SwayPointer &operator=(const SwayPointer &) = delete;
    ~SwayPointer();

    // Connects to the session's compositor; nothing and one line in `error` when it offers no virtual pointer.
    static std::unique_ptr<SwayPointer> open(SwaySession &session, std::string &error);
    // Moves to (x, y) in pixels of the session's single output and clicks the left button there.
    bool click(int x, int y);

private:
    SwayPointer() = default;
    static void onGlobal(void *data, wl_registry *registry, std::uint32_t name, const char *interface,
                         std::uint32_t version);

    wl_display *m_display = nullptr;
    wl_registry *m_registry = nullptr;
    wl_seat *m_seat = nullptr;
    zwlr_virtual_pointer_manager_v1 *m_manager = nullptr;
    zwlr_virtual_pointer_v1 *m_pointer = nullptr;
};

} // namespace quorvane::test
