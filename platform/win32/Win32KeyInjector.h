// Synthesised keyboard input on Win32: key records become INPUT records for one SendInput call.
#pragma once

#include "platform/KeyInjector.h"

#include <windows.h>

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

} // namespace quorvane::platform::win32
