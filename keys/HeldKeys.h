// Which keys a run of records leaves pressed, and the records that release them.
#pragma once

#include "platform/KeyRecord.h"

#include <span>
#include <vector>

namespace quorvane::keys {

// The key-up records of every key that `records` presses and does not release, latest press first.
std::vector<platform::KeyRecord> releasesOfHeldKeys(std::span<const platform::KeyRecord> records);

} // namespace quorvane::keys
