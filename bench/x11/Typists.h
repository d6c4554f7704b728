// The three ways the benchmark types a text into the terminal: Quorvane's path, xdotool, and a bare XTest loop.
#pragma once

#include "tests/support/XSession.h"

#include <X11/Xlib.h>
#include <string>

namespace quorvane::bench {

// Through the X11 backend and the synthesiser, one character per key sequence restricted to `terminal`, then
// the end of the transfer.
bool typeWithQuorvane(const std::string &text, Window terminal);
// `xdotool type --delay 0` with the text as its argument (line ends as "\n", which xdotool types as Return).
bool typeWithXdotool(test::XSession &session, const std::string &text);
// One press and release per character, one flush per character; characters outside the layout bound
// beforehand to spare keycodes, outside the timed part.
class BareXTest {
public:
    BareXTest(Display *display, const std::string &text);
    ~BareXTest();
    void type(const std::string &text);

private:
    Display *m_display;
    std::vector<KeyCode> m_bound;
};

// The cost of a foreground-window query through the backend, and of one XGetInputFocus round trip, in ns.
void measureForegroundQuery(Window terminal);

} // namespace quorvane::bench
