// Synthesised keyboard input on Win32: key records become INPUT records for one SendInput call.
#pragma once

#include "platform/KeyInjector.h"

#include <windows.h>

#include <vector>

namespace quorvane::platform::win32 {

class Win32KeyInjector : public KeyInjector {
public:
    std::size_t inject(std::span<const KeyRecord> records) override;
    void finish() override {}
    // SendInput cannot refuse keys one by one, so the focus is checked once, before each block.
    void restrictTo(std::optional<WindowId> window) override { m_restrictedTo = window; }

private:
    std::optional<WindowId> m_restrictedTo;
};

INPUT toInput(const KeyRecord &record);

// Key-up records for the keys that `injected` leaves pressed, last pressed first released. When SendInput
// inserts only part of a block, these keep a Shift or Ctrl from staying down in the user's keyboard.
std::vector<KeyRecord> releasesForHeldKeys(std::span<const KeyRecord> injected);

} // namespace quorvane::platform::win32
