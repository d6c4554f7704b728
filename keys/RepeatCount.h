// How many presses a braced key's count asks for.
#pragma once

#include <string_view>

namespace quorvane::keys {

// Larger counts are cut to this many presses, so one braced key never needs unbounded memory or time.
inline constexpr int kMaxRepeatCount = 10000;

// The press count for a count text: its leading number rounded half to even, at least 1, at most
// kMaxRepeatCount. Any value, including infinities and NaN, gives a count in that range.
int repeatCountFromNumber(double value);
int repeatCount(std::u16string_view countText);

} // namespace quorvane::keys
