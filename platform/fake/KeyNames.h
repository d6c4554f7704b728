// Readable names of virtual keys, for transcripts that tests compare.
#pragma once

#include <cstdint>
#include <string>

namespace quorvane::platform {

// "A", "7", "Shift", "Enter", "Down", "F5", "Oem4"; a code without a name prints as "vk" and its number ("vk7").
std::string virtualKeyName(std::uint16_t vk);

} // namespace quorvane::platform
