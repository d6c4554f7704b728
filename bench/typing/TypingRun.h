// One typing run watched from the capture file, the text the typing benchmarks share, and their report lines.
#pragma once

#include "tests/support/CaptureFile.h"

#include <functional>
#include <string>
#include <vector>

namespace quorvane::bench {

struct Arrival {
    double seconds = 0;
    std::string bytes;
};

// Lines of printable ASCII (every character), a tab, characters outside the US layout, and CR line ends.
std::string benchmarkText();
// Runs `typist` while watching the capture file: first byte to last byte, and the bytes that came.
Arrival timeArrival(test::CaptureFile &capture, std::size_t expected, const std::function<void()> &typist);
// One line: characters per second and the bytes wrong, missing or extra; the rate goes into `rates`.
void report(const char *name, int round, std::size_t characters, const std::string &meant, const Arrival &arrival,
            std::vector<double> &rates);
double median(std::vector<double> values);

} // namespace quorvane::bench
