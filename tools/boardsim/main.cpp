// boardsim: the simulated board answering on the terminal it runs in.
#include "Board.h"
#include "BoardOptions.h"
#include "InputFilter.h"
#include "RawTerminal.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

using namespace quorvane::boardsim;

namespace {

volatile std::sig_atomic_t g_quit = 0;
volatile std::sig_atomic_t g_dump = 0;

void onQuit(int) { g_quit = 1; }

void onDump(int) { g_dump = 1; }

// No SA_RESTART, so a signal wakes the poll at once.
void installSignals() {
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    action.sa_handler = onQuit;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    action.sa_handler = onDump;
    sigaction(SIGUSR1, &action, nullptr);
}

bool writeAll(int fd, const std::string &data) {
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Readers never see half a file: write a temporary file, then rename it over the old one.
bool replaceFile(const std::string &path, const std::string &text) {
    if (path.empty()) {
        return true;
    }
    std::string temporary = path + ".tmp";
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        return false;
    }
    bool ok = writeAll(fd, text);
    ok = close(fd) == 0 && ok;
    return ok && std::rename(temporary.c_str(), path.c_str()) == 0;
}

bool saveState(const BoardOptions &options, const Board &board) {
    std::string status = "received=" + std::to_string(board.stats().received) +
                         "\nlost=" + std::to_string(board.stats().lost) +
                         "\nerrors=" + std::to_string(board.errorCount()) + "\n";
    bool ok = replaceFile(options.imagePath, board.memory().toText());
    return replaceFile(options.statusPath, status) && ok;
}

Micros elapsedMicros(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
}

// To the microsecond: a whole-millisecond poll would hold each paced character up to a millisecond past its time,
// nearly a character time at 9600 baud, and every echo the sender waits for would come that much late.
std::optional<timespec> pollTimeout(const Board &board, Micros now) {
    auto deadline = board.nextDeadline();
    if (!deadline) {
        return std::nullopt;
    }
    const Micros wait = *deadline > now ? *deadline - now : 0;
    return timespec{static_cast<time_t>(wait / 1'000'000), static_cast<long>(wait % 1'000'000) * 1000};
}

// Feeds one read's bytes through the filter to the board; false when the quit sequence came.
bool feedBytes(const char *bytes, std::size_t count, InputFilter &filter, Board &board, Micros now) {
    for (std::size_t i = 0; i < count; ++i) {
        auto result = filter.feed(static_cast<std::uint8_t>(bytes[i]));
        for (char released : result.release) {
            board.receive(static_cast<std::uint8_t>(released), now);
        }
        g_dump = g_dump || result.dump;
        if (result.quit) {
            return false;
        }
    }
    return true;
}

int run(const BoardOptions &options, Board &board, int logFd) {
    InputFilter filter(options.quitSequence, options.dumpKey);
    auto start = std::chrono::steady_clock::now();
    board.start();
    writeAll(STDOUT_FILENO, board.takeOutput());
    std::vector<char> buffer(4096);
    bool running = true;
    while (running && !g_quit) {
        pollfd input{STDIN_FILENO, POLLIN, 0};
        const std::optional<timespec> timeout = pollTimeout(board, elapsedMicros(start));
        int ready = ppoll(&input, 1, timeout ? &*timeout : nullptr, nullptr);
        Micros now = elapsedMicros(start);
        if (ready > 0) {
            ssize_t n = read(STDIN_FILENO, buffer.data(), buffer.size());
            if (n <= 0 && !(n < 0 && errno == EINTR)) {
                break;
            }
            if (n > 0 && logFd >= 0) {
                writeAll(logFd, std::string(buffer.data(), static_cast<std::size_t>(n)));
            }
            running = n <= 0 || feedBytes(buffer.data(), static_cast<std::size_t>(n), filter, board, now);
        }
        board.advanceTo(now);
        writeAll(STDOUT_FILENO, board.takeOutput());
        if (g_dump) {
            g_dump = 0;
            saveState(options, board);
        }
    }
    return saveState(options, board) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    // The help names the program as it was started: boardsim in the build tree, quorvane-boardsim installed.
    const std::string_view started = argc > 0 ? argv[0] : "boardsim";
    const std::string_view program = started.substr(started.find_last_of('/') + 1);
    std::string error;
    auto options = parseBoardOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "%.*s: %s (see --help)\n", int(program.size()), program.data(), error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(boardHelpText(program).c_str(), stdout);
        return 0;
    }
    int logFd = -1;
    if (!options->logPath.empty() &&
        (logFd = open(options->logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644)) < 0) {
        std::perror("boardsim: log file");
        return 1;
    }
    installSignals();
    RawTerminal terminal;
    if (!terminal.ok() || (!options->readyPath.empty() && !replaceFile(options->readyPath, "ready\n"))) {
        std::perror("boardsim: terminal or ready file");
        return 1;
    }
    Board board(options->board);
    int status = run(*options, board, logFd);
    if (logFd >= 0) {
        close(logFd);
    }
    return status;
}
