// How far the bytes that arrived are from the bytes meant: wrong, missing and extra, by edit distance.
#include "bench/typing/ByteDiff.h"

#include <algorithm>
#include <vector>

namespace quorvane::bench {

ByteDiff compareBytes(std::string_view meant, std::string_view received) {
    const std::size_t n = meant.size(), m = received.size();
    // Full table for the walk back; a few thousand bytes each way is a few tens of megabytes at most.
    std::vector<unsigned> cost((n + 1) * (m + 1));
    auto at = [m, &cost](std::size_t i, std::size_t j) -> unsigned & { return cost[i * (m + 1) + j]; };
    for (std::size_t i = 0; i <= n; ++i) {
        at(i, 0) = static_cast<unsigned>(i);
    }
    for (std::size_t j = 0; j <= m; ++j) {
        at(0, j) = static_cast<unsigned>(j);
    }
    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            const unsigned substitute = at(i - 1, j - 1) + (meant[i - 1] == received[j - 1] ? 0U : 1U);
            at(i, j) = std::min({substitute, at(i - 1, j) + 1, at(i, j - 1) + 1});
        }
    }
    ByteDiff diff;
    std::size_t i = n, j = m;
    while (i > 0 || j > 0) {
        if (i > 0 && j > 0 && at(i, j) == at(i - 1, j - 1) + (meant[i - 1] == received[j - 1] ? 0U : 1U)) {
            diff.wrong += meant[i - 1] == received[j - 1] ? 0 : 1;
            --i;
            --j;
        } else if (i > 0 && at(i, j) == at(i - 1, j) + 1) {
            ++diff.missing;
            --i;
        } else {
            ++diff.extra;
            --j;
        }
    }
    return diff;
}

} // namespace quorvane::bench
