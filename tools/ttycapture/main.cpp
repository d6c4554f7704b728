// ttycapture: puts its terminal into raw mode and writes every byte it receives to a file, unbuffered.
//
// Usage: ttycapture <capture-file> <ready-file> [<sentinel-byte-hex>]
// The ready file is created only once the terminal is raw, so keys typed after it appears arrive unchanged.
// Ends on end of input, on SIGHUP/SIGINT/SIGTERM, or after writing the sentinel byte when one is given.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int) { g_stop = 1; }

bool makeRaw(termios &saved) {
    if (tcgetattr(STDIN_FILENO, &saved) != 0) {
        return false;
    }
    termios raw = saved;
    // The same as `stty raw -echo -iexten`: no line editing, no signals, no flow control, CR kept as CR.
    raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | IGNPAR | PARMRK | INPCK | ISTRIP | INLCR | IGNCR | ICRNL |
                                          IXON | IXOFF | IXANY | IMAXBEL);
    raw.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    raw.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    raw.c_cflag |= CS8;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    return tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
}

bool writeAll(int fd, const char *data, ssize_t size) {
    while (size > 0) {
        ssize_t written = write(fd, data, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool signalReady(const char *path) {
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    close(fd);
    return true;
}

int copyInput(int out, int sentinel) {
    char buffer[4096];
    while (!g_stop) {
        ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return 0;
        }
        if (!writeAll(out, buffer, got)) {
            return 1;
        }
        for (ssize_t i = 0; sentinel >= 0 && i < got; ++i) {
            if (static_cast<unsigned char>(buffer[i]) == sentinel) {
                return 0;
            }
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: ttycapture <capture-file> <ready-file> [<sentinel-byte-hex>]\n");
        return 2;
    }
    int sentinel = argc == 4 ? static_cast<int>(std::strtol(argv[3], nullptr, 16)) : -1;
    struct sigaction action {};
    action.sa_handler = onSignal;
    for (int sig : {SIGHUP, SIGINT, SIGTERM}) {
        sigaction(sig, &action, nullptr);
    }
    int out = open(argv[1], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    termios saved{};
    if (out < 0 || !makeRaw(saved)) {
        std::perror("ttycapture");
        return 1;
    }
    int status = signalReady(argv[2]) ? copyInput(out, sentinel) : 1;
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    close(out);
    return status;
}
