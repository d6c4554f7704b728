// Puts synthesised keyboard events into the desktop's input stream.
#pragma once

#include "platform/Desktop.h"
#include "platform/KeyRecord.h"

#include <cstddef>
#include <optional>
#include <span>

namespace quorvane::platform {

// Why inject() took fewer records than it was given.
struct InjectRefusal {
    enum class Reason {
        FocusElsewhere, // a key-down while the restricted window did not have the focus
        NoKey,          // the keyboard has no key for it, and none could be bound to it
    };
    Reason reason = Reason::FocusElsewhere;
    char32_t character = 0; // for NoKey: the character that could not be typed; 0 for a named key
};

class KeyInjector {
public:
    virtual ~KeyInjector() = default;
    // Inserts the records, in order and as one block, into the input stream of the window that has the
    // keyboard focus. Returns how many were inserted; fewer than given means the rest were refused.
    virtual std::size_t inject(std::span<const KeyRecord> records) = 0;
    // After an inject() that took fewer records than given: why it stopped.
    virtual InjectRefusal lastRefusal() const { return {}; }
    // Ends a transfer: undoes whatever the injector changed for it (temporary key bindings, say).
    virtual void finish() = 0;
    // Keeps key presses out of every window but `window` (nothing = no restriction): from now on inject() inserts a
    // key-down only while `window` (or a window inside it) has the keyboard focus, and stops at the first one it
    // refuses. Key-ups always go in, so nothing is left pressed.
    virtual void restrictTo(std::optional<WindowId> window) { (void)window; }
    // The caller is about to wait or run its event loop: whatever the injector holds to keep the focus in place
    // between back-to-back blocks (the X server grab) is let go, so the rest of the desktop runs meanwhile.
    virtual void pause() {}
};

} // namespace quorvane::platform
