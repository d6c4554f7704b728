// INPUT records from key records, and one SendInput call per block.
#include "platform/win32/Win32KeyInjector.h"

#include <algorithm>
#include <vector>

namespace quorvane::platform::win32 {

INPUT toInput(const KeyRecord &record) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    KEYBDINPUT &key = input.ki;
    key.wScan = record.scan;
    if (record.unicode()) {
        key.wVk = 0;
        key.dwFlags = KEYEVENTF_UNICODE;
    } else {
        key.wVk = record.vk;
        key.dwFlags = record.extended() ? KEYEVENTF_EXTENDEDKEY : 0;
    }
    if (record.keyUp()) {
        key.dwFlags |= KEYEVENTF_KEYUP;
    }
    return input;
}

namespace {

bool focusIsIn(WindowId window) {
    const HWND foreground = GetForegroundWindow();
    return foreground != nullptr && GetAncestor(foreground, GA_ROOT) == reinterpret_cast<HWND>(window);
}

// The key-ups that open a block: the only records that go in while the focus is elsewhere.
std::size_t leadingKeyUps(std::span<const KeyRecord> records) {
    const auto firstDown = std::find_if(records.begin(), records.end(), [](const auto &r) { return !r.keyUp(); });
    return static_cast<std::size_t>(firstDown - records.begin());
}

} // namespace

std::size_t Win32KeyInjector::inject(std::span<const KeyRecord> records) {
    if (m_restrictedTo && !focusIsIn(*m_restrictedTo)) {
        records = records.first(leadingKeyUps(records));
    }
    if (records.empty()) {
        return 0;
    }
    std::vector<INPUT> inputs;
    inputs.reserve(records.size());
    std::transform(records.begin(), records.end(), std::back_inserter(inputs), toInput);
    // A block cut short leaves keys down; the keystroke synthesiser, told by the count, releases them.
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

} // namespace quorvane::platform::win32
