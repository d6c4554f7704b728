// bench_x11_typing: the same text typed into the same xterm on Xvfb by Quorvane's path, by xdotool and by a
// bare XTest loop; prints characters per second (first byte to last byte arriving) and the bytes that
// arrived wrong, missing or extra, for each of several rounds.
#include "bench/x11/ByteDiff.h"
#include "bench/x11/Typists.h"
#include "tests/support/XSession.h"
#include "tests/support/Xterm.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

namespace {

using namespace quorvane;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 3;

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

std::size_t fileSize(const std::string &path) {
    std::error_code error;
    return static_cast<std::size_t>(std::filesystem::file_size(path, error));
}

struct Arrival {
    double seconds = 0;
    std::string bytes;
};

// Runs `typist` while watching the capture file: first byte to last byte, and the bytes that came.
Arrival timeArrival(test::CaptureTerminal &terminal, std::size_t expected, const std::function<void()> &typist) {
    const std::size_t base = fileSize(terminal.capturePath());
    std::atomic<bool> done{false};
    Clock::time_point first{}, last{};
    std::thread watcher([&] {
        std::size_t seen = base;
        auto quietSince = Clock::now();
        while (!done || Clock::now() - quietSince < std::chrono::milliseconds(500)) {
            const std::size_t size = fileSize(terminal.capturePath());
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
    arrival.bytes = terminal.take(0, std::chrono::milliseconds(0));
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

} // namespace

int main() {
    std::string error;
    auto session = test::XSession::start({}, error);
    auto terminal = session ? test::CaptureTerminal::start(*session, "COM1 - Tera Term VT", error) : nullptr;
    if (!terminal) {
        std::fprintf(stderr, "bench_x11_typing: %s\n", error.c_str());
        return 1;
    }
    setenv("DISPLAY", session->displayName().c_str(), 1);
    const std::string text = benchmarkText();
    const std::size_t characters = std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
    const std::size_t outside = std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) == 0xC0; });
    std::printf("text: %zu characters (%zu outside the US layout), %zu bytes, CR line ends, tabs\n", characters,
                outside, text.size());
    std::vector<double> quorvane, xdotool, bare;
    for (int round = 1; round <= kRounds; ++round) {
        Window window = terminal->window();
        report("quorvane", round, characters, text,
               timeArrival(*terminal, text.size(), [&] { bench::typeWithQuorvane(text, window); }), quorvane);
        XSetInputFocus(session->display(), window, RevertToParent, CurrentTime);
        report("xdotool", round, characters, text,
               timeArrival(*terminal, text.size(), [&] { bench::typeWithXdotool(*session, text); }), xdotool);
        bench::BareXTest loop(session->display(), text);
        XSetInputFocus(session->display(), window, RevertToParent, CurrentTime);
        report("bare-xtest", round, characters, text, timeArrival(*terminal, text.size(), [&] { loop.type(text); }),
               bare);
    }
    std::printf("median chars/s: quorvane %.0f, xdotool %.0f, bare XTest %.0f\n", median(quorvane), median(xdotool),
                median(bare));
    std::printf("quorvane / xdotool = %.1f (aim >= 5); quorvane / bare XTest = %.2f (aim >= 0.5)\n",
                median(quorvane) / median(xdotool), median(quorvane) / median(bare));
    bench::measureForegroundQuery(terminal->window());
    return 0;
}
