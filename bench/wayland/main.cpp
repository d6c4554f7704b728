// bench_wayland_typing: the same text typed into the same foot under a headless sway by Quorvane's Wayland path and
// by wtype; prints characters per second (first byte to last byte arriving) and the bytes that arrived wrong,
// missing or extra, for each of several rounds, and the time from starting the compositor to the first key.
#include "bench/typing/TypingRun.h"
#include "engine/CharacterKeys.h"
#include "keys/KeySequenceTyper.h"
#include "platform/wayland/WaylandBackend.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/SwaySession.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

using namespace quorvane;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 3;
constexpr const char *kTitle = "COM1 - Tera Term VT";

// foot may announce its title a moment after the program inside it has started.
std::optional<platform::WindowId> terminalWindow(platform::Desktop &desktop) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    do {
        for (const auto &window : desktop.topLevelWindows()) {
            if (window.title == kTitle) {
                return window.id;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (Clock::now() < deadline);
    return std::nullopt;
}

// As the text transfer types: one sequence per character, restricted to the terminal.
void typeWithQuorvane(platform::DesktopBackend &backend, keys::KeySequenceTyper &sendKeys, platform::WindowId terminal,
                      const std::string &text) {
    backend.desktop->activate(terminal);
    backend.injector->restrictTo(terminal);
    for (const auto &sequence : engine::keySequencesForUtf8(text)) {
        sendKeys.SendKeySequence(sequence);
    }
    backend.injector->restrictTo(std::nullopt);
    backend.injector->finish();
}

// wtype loses its first key without a pause after creating its keyboard; 100 ms is what keeps it.
void typeWithWtype(test::SwaySession &session, const std::string &text) {
    test::ChildProcess::run({"wtype", "-s", "100", text}, session.environment(), std::chrono::seconds(120));
}

} // namespace

int main() {
    std::string error;
    const auto started = Clock::now();
    auto session = test::SwaySession::start(error);
    auto terminal = session ? test::FootCapture::start(*session, kTitle, error) : nullptr;
    if (!terminal) {
        std::fprintf(stderr, "bench_wayland_typing: %s\n", error.c_str());
        return 1;
    }
    session->enter();
    auto connection = platform::wayland::WaylandSession::open(error);
    auto backend = connection ? platform::wayland::openWaylandBackend(connection, error) : platform::DesktopBackend{};
    const auto window = backend.desktop ? terminalWindow(*backend.desktop) : std::nullopt;
    if (!window) {
        std::fprintf(stderr, "bench_wayland_typing: %s\n",
                     error.empty() ? "the terminal was not found" : error.c_str());
        return 1;
    }
    keys::KeySequenceTyper sendKeys(*backend.layout, *backend.injector);
    typeWithQuorvane(backend, sendKeys, *window, "!");
    terminal->capture.take(1);
    std::printf("compositor start to first key arriving: %.0f ms (socket after %lld ms)\n",
                std::chrono::duration<double, std::milli>(Clock::now() - started).count(),
                static_cast<long long>(session->startupTime().count()));

    const std::string text = bench::benchmarkText();
    const std::size_t characters = std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
    std::printf("text: %zu characters, %zu bytes, CR line ends, tabs, characters outside the US layout\n", characters,
                text.size());
    std::vector<double> quorvane, wtype;
    for (int round = 1; round <= kRounds; ++round) {
        bench::report("quorvane", round, characters, text,
                      bench::timeArrival(terminal->capture, text.size(),
                                         [&] { typeWithQuorvane(backend, sendKeys, *window, text); }),
                      quorvane);
        backend.desktop->activate(*window);
        bench::report("wtype", round, characters, text,
                      bench::timeArrival(terminal->capture, text.size(), [&] { typeWithWtype(*session, text); }),
                      wtype);
    }
    std::printf("median chars/s: quorvane %.0f, wtype %.0f; quorvane / wtype = %.1f (aim >= 20)\n",
                bench::median(quorvane), bench::median(wtype), bench::median(quorvane) / bench::median(wtype));
    return 0;
}
