// How many presses a braced key's count asks for.
#include "keys/RepeatCount.h"

#include "keys/LeadingNumber.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace quorvane::keys {

int repeatCountFromNumber(double value) {
    if (std::isnan(value)) {
        return 1;
    }
    // Clamp into 32 bits before any conversion: a double beyond the integer's range is undefined to convert.
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    value = value < kLow ? kLow : (value > kHigh ? kHigh : value);
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        whole += 1.0;
    }
    if (whole < 1.0) {
        return 1;
    }
    if (whole > kMaxRepeatCount) {
        return kMaxRepeatCount;
    }
    return static_cast<int>(whole);
}

int repeatCount(std::u16string_view countText) { return repeatCountFromNumber(leadingNumber(countText)); }

} // namespace quorvane::keys
