// Checks that the records of one key sequence obey the rules every sequence must keep, whatever its text.
#pragma once

#include "platform/KeyRecord.h"
#include "platform/KeyboardLayout.h"

#include <span>
#include <string>
#include <string_view>

namespace quorvane::keys {

// The first broken rule, or an empty string when `records` (everything the injector took, in order) obey
// them all: fields only as the rules allow, presses strictly nested and all released, no lone Alt tap, and
// Unicode records only for code units that occur in `keys`.
std::string findSequenceFault(std::span<const platform::KeyRecord> records, std::u16string_view keys,
                              platform::KeyboardLayout &layout);

} // namespace quorvane::keys
