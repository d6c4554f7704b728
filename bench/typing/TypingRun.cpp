// One typing run watched from the capture file, the text the typing benchmarks share, and their report lines.
#include "bench/typing/TypingRun.h"

#include "bench/typing/ByteDiff.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace quorvane::bench {

using Clock = std::chrono::steady_clock;

// Lines of printable ASCII (every character), a tab, characters outside the US layout, and CR line ends.
std::string benchmarkText() {
    const std::vector<std::string> outside = {"é", "ß", "€", "Ω", "“", "”", "É", "Ä", "Ñ", "ø", "Ł", "ω", "Ж", "ü"};
    std::string ascii;
    for (char c = 0x20; c < 0x7F; ++c) {
        ascii += c;
    }
    std::string text;
    for (int line = 0; line < 44; ++line) {
        const std::size_t start = static_cast<std::size_t>(line * 37) % ascii.size();
        const std::string rotated = ascii.substr(start) + ascii.substr(0, start);
        text.append(rotated, 0, 48).append("\t");
        text.append(outside[line % 14]).append(outside[(line + 5) % 14]).append(outside[(line + 9) % 14]);
        text.append(" ").append(rotated, 48).append("\r");
    }
    return text;
}

static std::size_t fileSize(const std::string &path) {
    std::error_code error;
    return static_cast<std::size_t>(std::filesystem::file_size(path, error));
}

// Runs `typist` while watching the capture file: first byte to last byte, and the bytes that came.
Arrival timeArrival(test::CaptureFile &capture, std::size_t expected, const std::function<void()> &typist) {
    const std::size_t base = fileSize(capture.path());
    std::atomic<bool> done{false};
    Clock::time_point first{}, last{};
    std::thread watcher([&] {
        std::size_t seen = base;
        auto quietSince = Clock::now();
        while (!done || Clock::now() - quietSince < std::chrono::milliseconds(500)) {
            const std::size_t size = fileSize(capture.path());
            const auto now = Clock::now();
            if (size != seen) {
                first = seen == base ? now : first;
                last = now;
                seen = size;
                quietSince = now;
            }
            if (done && size >= base + expected && now - quietSince > std::chrono::milliseconds(300)) {
                break;
            }
            if (now - quietSince > std::chrono::seconds(20)) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    typist();
    done = true;
    watcher.join();
    Arrival arrival;
    arrival.seconds = std::chrono::duration<double>(last - first).count();
    arrival.bytes = capture.take(0, std::chrono::milliseconds(0));
    return arrival;
}

void report(const char *name, int round, std::size_t characters, const std::string &meant, const Arrival &arrival,
            std::vector<double> &rates) {
    const auto diff = bench::compareBytes(meant, arrival.bytes);
    const double rate = arrival.seconds > 0 ? static_cast<double>(characters) / arrival.seconds : 0;
    rates.push_back(rate);
    std::printf("round %d  %-10s %9.0f chars/s  wrong %zu  missing %zu  extra %zu%s\n", round, name, rate, diff.wrong,
                diff.missing, diff.extra, diff.exact() ? "  (exact)" : "");
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace quorvane::bench
