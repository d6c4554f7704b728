// INPUT records from key records, one SendInput call per block, and recovery from a block cut short.
#include "platform/win32/Win32KeyInjector.h"

#include <algorithm>

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

std::vector<KeyRecord> releasesForHeldKeys(std::span<const KeyRecord> injected) {
    std::vector<KeyRecord> held; // in the order pressed
    for (const KeyRecord &record : injected) {
        if (record.unicode() || record.vk == 0) {
            continue; // a Unicode press holds no key of the keyboard
        }
        const auto same = std::find_if(held.begin(), held.end(), [&](const auto &h) { return h.vk == record.vk; });
        if (record.keyUp()) {
            if (same != held.end()) {
                held.erase(same);
            }
        } else if (same == held.end()) {
            held.push_back(record);
        }
    }
    std::vector<KeyRecord> releases;
    for (auto it = held.rbegin(); it != held.rend(); ++it) {
        releases.push_back({it->vk, it->scan, (it->flags & kExtendedKey) | kKeyUp});
    }
    return releases;
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
    const UINT inserted = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (inserted < inputs.size()) {
        std::vector<INPUT> releases;
        for (const KeyRecord &release : releasesForHeldKeys(records.first(inserted))) {
            releases.push_back(toInput(release));
        }
        if (!releases.empty()) {
            SendInput(static_cast<UINT>(releases.size()), releases.data(), sizeof(INPUT));
        }
    }
    return inserted;
}

} // namespace quorvane::platform::win32
