// Puts synthesised keyboard events into the desktop's input stream.
#pragma once

#include "platform/Desktop.h"
#include "platform/KeyRecord.h"

#include <cstddef>
#include <optional>
#include <span>

namespace quorvane::platform {

class KeyInjector {
public:
    virtual ~KeyInjector() = default;
    // Inserts the records, in order and as one block, into the input stream of the window that has the
    // keyboard focus. Returns how many were inserted; fewer than given means the rest were refused.
    virtual std::size_t inject(std::span<const KeyRecord> records) = 0;
    // Ends a transfer: undoes whatever the injector changed for it (temporary key bindings, say).
    virtual void finish() = 0;
    // Keeps key presses out of every window but `window` (nothing = no restriction): from now on inject() inserts a
    // key-down only while `window` (or a window inside it) has the keyboard focus, and stops at the first one it
    // refuses. Key-ups always go in, so nothing is left pressed.
    virtual void restrictTo(std::optional<WindowId> window) { (void)window; }
};

} // namespace quorvane::platform
