// Which keys a run of records leaves pressed, and the records that release them.
#include "keys/HeldKeys.h"

#include <algorithm>

namespace quorvane::keys {
namespace {

bool sameKey(const KeyRecord &a, const KeyRecord &b) {
    constexpr std::uint32_t kIdentity = kExtendedKey | kUnicode;
    return a.vk == b.vk && a.scan == b.scan && (a.flags & kIdentity) == (b.flags & kIdentity);
}

} // namespace

std::vector<KeyRecord> releasesOfHeldKeys(std::span<const KeyRecord> records) {
    std::vector<KeyRecord> held;
    for (const KeyRecord &record : records) {
        if (!record.keyUp()) {
            held.push_back(record);
            continue;
        }
        const auto pressed =
            std::find_if(held.rbegin(), held.rend(), [&](const KeyRecord &down) { return sameKey(down, record); });
        if (pressed != held.rend()) {
            held.erase(std::next(pressed).base());
        }
    }
    std::vector<KeyRecord> releases;
    releases.reserve(held.size());
    for (auto it = held.rbegin(); it != held.rend(); ++it) {
        releases.push_back(KeyRecord{it->vk, it->scan, it->flags | kKeyUp});
    }
    return releases;
}

} // namespace quorvane::keys
