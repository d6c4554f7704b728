// Raw mode: every byte as typed, CR kept as CR, no echo, no signals, no flow control.
#include "RawTerminal.h"

#include <unistd.h>

namespace quorvane::boardsim {

RawTerminal::RawTerminal() {
    if (!isatty(STDIN_FILENO)) {
        return;
    }
    m_isTerminal = true;
    if (tcgetattr(STDIN_FILENO, &m_saved) != 0) {
        m_ok = false;
        return;
    }
    termios raw = m_saved;
    raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
    raw.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    raw.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    raw.c_cflag |= CS8;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    m_ok = tcsetattr(STDIN_FILENO, TCSAFLUSH, &raw) == 0;
}

RawTerminal::~RawTerminal() {
    if (m_isTerminal && m_ok) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
    }
}

} // namespace quorvane::boardsim
