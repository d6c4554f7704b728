// x11driver: finds a terminal window by title, activates it and types a UTF-8 file into it through the X11
// backend, one character per key sequence as the text transfer maps it (without its waits).
//
// Usage: x11driver [--hold] <title-part> <file>
// --hold keeps the transfer open after typing until SIGINT or SIGTERM; either signal ends the transfer in
// order (the keymap restored) at any time. Exit status: 0 typed, 1 failed, 2 usage, 3 stopped by a signal.

#include "engine/CharacterKeys.h"
#include "keys/KeySequenceTyper.h"
#include "platform/x11/X11Backend.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onStopSignal(int) { g_stop = 1; }

// The title of the matching window lowest in the stacking order, as the Send driver picks it.
std::optional<quorvane::platform::WindowId> findWindow(quorvane::platform::Desktop &desktop, const std::string &part) {
    std::optional<quorvane::platform::WindowId> found;
    for (const auto &window : desktop.topLevelWindows()) {
        if (window.title.find(part) != std::string::npos) {
            found = window.id;
        }
    }
    return found;
}

int typeFile(quorvane::platform::DesktopBackend &backend, const std::string &text, bool hold) {
    quorvane::keys::KeySequenceTyper sendKeys(*backend.layout, *backend.injector);
    const auto start = std::chrono::steady_clock::now();
    std::size_t typed = 0;
    for (const auto &sequence : quorvane::engine::keySequencesForUtf8(text)) {
        if (g_stop) {
            break;
        }
        sendKeys.SendKeySequence(sequence);
        ++typed;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("typed %zu characters in %.3f s\n", typed, elapsed.count());
    std::fflush(stdout);
    while (hold && !g_stop) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    backend.injector->finish();
    return g_stop && !hold ? 3 : 0;
}

} // namespace

int main(int argc, char **argv) {
    const bool hold = argc == 4 && std::string(argv[1]) == "--hold";
    if (argc != 3 && !hold) {
        std::fprintf(stderr, "usage: x11driver [--hold] <title-part> <file>\n");
        return 2;
    }
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::ifstream in(argv[argc - 1], std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string error;
    auto backend = quorvane::platform::x11::openX11Backend(error);
    if (!backend.desktop) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const auto window = findWindow(*backend.desktop, argv[argc - 2]);
    if (!window || !backend.desktop->activate(*window)) {
        std::fprintf(stderr, "No window whose title contains \"%s\" could be activated.\n", argv[argc - 2]);
        return 1;
    }
    return typeFile(backend, text, hold);
}
