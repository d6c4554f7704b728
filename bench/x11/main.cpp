// bench_x11_typing: the same text typed into the same xterm on Xvfb by Quorvane's path, by xdotool and by a
// bare XTest loop; prints characters per second (first byte to last byte arriving) and the bytes that
// arrived wrong, missing or extra, for each of several rounds.
#include "bench/typing/TypingRun.h"
#include "bench/x11/Typists.h"
#include "tests/support/XSession.h"
#include "tests/support/Xterm.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace quorvane;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 3;

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
    const std::string text = bench::benchmarkText();
    const std::size_t characters = std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
    const std::size_t outside = std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) == 0xC0; });
    std::printf("text: %zu characters (%zu outside the US layout), %zu bytes, CR line ends, tabs\n", characters,
                outside, text.size());
    std::vector<double> quorvane, xdotool, bare;
    for (int round = 1; round <= kRounds; ++round) {
        Window window = terminal->window();
        bench::report(
            "quorvane", round, characters, text,
            bench::timeArrival(terminal->capture(), text.size(), [&] { bench::typeWithQuorvane(text, window); }),
            quorvane);
        XSetInputFocus(session->display(), window, RevertToParent, CurrentTime);
        bench::report(
            "xdotool", round, characters, text,
            bench::timeArrival(terminal->capture(), text.size(), [&] { bench::typeWithXdotool(*session, text); }),
            xdotool);
        bench::BareXTest loop(session->display(), text);
        XSetInputFocus(session->display(), window, RevertToParent, CurrentTime);
        bench::report("bare-xtest", round, characters, text,
                      bench::timeArrival(terminal->capture(), text.size(), [&] { loop.type(text); }), bare);
    }
    std::printf("median chars/s: quorvane %.0f, xdotool %.0f, bare XTest %.0f\n", bench::median(quorvane),
                bench::median(xdotool), bench::median(bare));
    std::printf("quorvane / xdotool = %.1f (aim >= 5); quorvane / bare XTest = %.2f (aim >= 0.5)\n",
                bench::median(quorvane) / bench::median(xdotool), bench::median(quorvane) / bench::median(bare));
    bench::measureForegroundQuery(terminal->window());
    return 0;
}
