// The three ways the benchmark types a text into the terminal: Quorvane's path, xdotool, and a bare XTest loop.
#include "bench/x11/Typists.h"

#include "engine/CharacterKeys.h"
#include "engine/TextDecoding.h"
#include "keys/KeySequenceTyper.h"
#include "platform/x11/X11Backend.h"
#include "tests/support/ChildProcess.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <thread>

namespace quorvane::bench {
namespace {

std::vector<char32_t> characters(const std::string &text) {
    const std::span bytes(reinterpret_cast<const std::uint8_t *>(text.data()), text.size());
    std::vector<char32_t> result;
    for (std::size_t i = 0; i < bytes.size();) {
        const engine::DecodedCharacter decoded = engine::decodeUtf8(bytes.subspan(i));
        result.push_back(decoded.ch);
        i += decoded.length;
    }
    return result;
}

KeySym keysymOf(char32_t ch) {
    if (ch == '\r') {
        return XK_Return;
    }
    if (ch == '\t') {
        return XK_Tab;
    }
    return ch < 0x100 ? ch : (ch == 0x20AC ? XK_EuroSign : 0x01000000 | ch);
}

} // namespace

bool typeWithQuorvane(const std::string &text, Window terminal) {
    std::string error;
    auto backend = platform::x11::openX11Backend(error);
    if (!backend.desktop || !backend.desktop->activate(terminal)) {
        std::fprintf(stderr, "backend: %s\n", error.c_str());
        return false;
    }
    keys::KeySequenceTyper sendKeys(*backend.layout, *backend.injector);
    // Restricted to the terminal as a transfer is, so the focus check under the server grab is measured too.
    backend.injector->restrictTo(terminal);
    const auto start = std::chrono::steady_clock::now();
    for (const auto &sequence : engine::keySequencesForUtf8(text)) {
        sendKeys.SendKeySequence(sequence);
    }
    const std::chrono::duration<double> typing = std::chrono::steady_clock::now() - start;
    backend.injector->restrictTo(std::nullopt);
    backend.injector->finish();
    const std::chrono::duration<double> total = std::chrono::steady_clock::now() - start;
    std::printf("         quorvane: key sequences sent in %.3f s, transfer ended (keymap restored) after %.3f s\n",
                typing.count(), total.count());
    return true;
}

bool typeWithXdotool(test::XSession &session, const std::string &text) {
    std::string lines = text;
    for (char &c : lines) {
        c = c == '\r' ? '\n' : c;
    }
    return test::ChildProcess::run({"xdotool", "type", "--delay", "0", "--", lines}, session.environment(),
                                   std::chrono::seconds(120)) == 0;
}

BareXTest::BareXTest(Display *display, const std::string &text) : m_display(display) {
    std::map<KeySym, bool> needed;
    for (char32_t ch : characters(text)) {
        if (XKeysymToKeycode(display, keysymOf(ch)) == 0) {
            needed[keysymOf(ch)] = true;
        }
    }
    int minKeycode = 0, maxKeycode = 0, perKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    KeySym *map =
        XGetKeyboardMapping(display, static_cast<KeyCode>(minKeycode), maxKeycode - minKeycode + 1, &perKeycode);
    auto sym = needed.begin();
    for (int code = minKeycode; code <= maxKeycode && sym != needed.end(); ++code) {
        const KeySym *entry = map + (code - minKeycode) * perKeycode;
        if (std::all_of(entry, entry + perKeycode, [](KeySym s) { return s == NoSymbol; })) {
            KeySym bound = sym->first;
            XChangeKeyboardMapping(display, static_cast<KeyCode>(code), 1, &bound, 1);
            m_bound.push_back(static_cast<KeyCode>(code));
            ++sym;
        }
    }
    XFree(map);
    XSync(display, False);
    // Give the terminal time to fetch the new keymap before the timed part.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

BareXTest::~BareXTest() {
    for (KeyCode code : m_bound) {
        KeySym none = NoSymbol;
        XChangeKeyboardMapping(m_display, code, 1, &none, 1);
    }
    XSync(m_display, False);
}

void BareXTest::type(const std::string &text) {
    const KeyCode shift = XKeysymToKeycode(m_display, XK_Shift_L);
    for (char32_t ch : characters(text)) {
        const KeySym sym = keysymOf(ch);
        const KeyCode code = XKeysymToKeycode(m_display, sym);
        const bool shifted = XkbKeycodeToKeysym(m_display, code, 0, 0) != sym;
        if (shifted) {
            XTestFakeKeyEvent(m_display, shift, True, CurrentTime);
        }
        XTestFakeKeyEvent(m_display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
        if (shifted) {
            XTestFakeKeyEvent(m_display, shift, False, CurrentTime);
        }
        XFlush(m_display);
    }
}

void measureForegroundQuery(Window terminal) {
    std::string error;
    auto backend = platform::x11::openX11Backend(error);
    if (!backend.desktop || !backend.desktop->activate(terminal)) {
        return;
    }
    constexpr int kQueries = 200000;
    const auto start = std::chrono::steady_clock::now();
    int matches = 0;
    for (int i = 0; i < kQueries; ++i) {
        matches += backend.desktop->foregroundWindow() == terminal ? 1 : 0;
    }
    const std::chrono::duration<double, std::nano> cached = std::chrono::steady_clock::now() - start;
    Display *display = XOpenDisplay(nullptr);
    constexpr int kRoundTrips = 20000;
    const auto roundStart = std::chrono::steady_clock::now();
    for (int i = 0; i < kRoundTrips; ++i) {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
    }
    const std::chrono::duration<double, std::nano> roundTrip = std::chrono::steady_clock::now() - roundStart;
    XCloseDisplay(display);
    std::printf("foreground query: %.0f ns per call through the backend (%d of %d on the terminal); "
                "%.0f ns per XGetInputFocus round trip; ratio %.1f\n",
                cached.count() / kQueries, matches, kQueries, roundTrip.count() / kRoundTrips,
                (roundTrip.count() / kRoundTrips) / (cached.count() / kQueries));
}

} // namespace quorvane::bench
