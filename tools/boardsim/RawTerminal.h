// Puts the terminal on standard input into raw mode for the session and restores it afterwards.
#pragma once

#include <termios.h>

namespace quorvane::boardsim {

class RawTerminal {
public:
    RawTerminal();
    ~RawTerminal();
    RawTerminal(const RawTerminal &) = delete;
    RawTerminal &operator=(const RawTerminal &) = delete;

    // False when standard input is a terminal that could not be made raw; a pipe needs nothing.
    bool ok() const { return m_ok; }

private:
    termios m_saved{};
    bool m_isTerminal = false;
    bool m_ok = true;
};

} // namespace quorvane::boardsim
