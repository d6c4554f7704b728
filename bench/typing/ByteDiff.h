// How far the bytes that arrived are from the bytes meant: wrong, missing and extra, by edit distance.
#pragma once

#include <cstddef>
#include <string_view>

namespace quorvane::bench {

struct ByteDiff {
    std::size_t wrong = 0;   // substituted
    std::size_t missing = 0; // meant, never arrived
    std::size_t extra = 0;   // arrived, never meant
    bool exact() const { return wrong == 0 && missing == 0 && extra == 0; }
};

ByteDiff compareBytes(std::string_view meant, std::string_view received);

} // namespace quorvane::bench
