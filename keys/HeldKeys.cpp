// Which keys a run of records leaves pressed, and the records that release them.
#include "keys/HeldKeys.h"

#include <algorithm>

namespace quorvane::keys {
namespace {

bool sameKey(const platform::KeyRecord &a, const platform::KeyRecord &b) {
    constexpr std::uint32_t kIdentity = platform::kExtendedKey | platform::kUnicode;
    return a.vk == b.vk && a.scan == b.scan && (a.flags & kIdentity) == (b.flags & kIdentity);
}

} // namespace

std::vector<platform::KeyRecord> releasesOfHeldKeys(std::span<const platform::KeyRecord> records) {
    std::vector<platform::KeyRecord> held;
    for (const platform::KeyRecord &record : records) {
        if (!record.keyUp()) {
            held.push_back(record);
            continue;
        }
        const auto pressed = std::find_if(held.rbegin(), held.rend(),
                                          [&](const platform::KeyRecord &down) { return sameKey(down, record); });
        if (pressed != held.rend()) {
            held.erase(std::next(pressed).base());
        }
    }
    std::vector<platform::KeyRecord> releases;
    releases.reserve(held.size());
    for (auto it = held.rbegin(); it != held.rend(); ++it) {
        releases.push_back(platform::KeyRecord{it->vk, it->scan, it->flags | platform::kKeyUp});
    }
    return releases;
}

} // namespace quorvane::keys
