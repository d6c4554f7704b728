// The simulated board in a terminal titled like the user's (xterm on X11, foot on Wayland), and what the board
// received and stored.
#pragma once

#include "tests/support/SwaySession.h"
#include "tests/support/Xterm.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quorvane::test {

struct BoardSetup {
    std::string monitor = "evmbug"; // boardsim --monitor
    std::string start = "prompt";   // boardsim --start: prompt, memory:ADDR, loader or text
    std::string title = "COM1 - Tera Term VT";
    std::vector<std::string> extraArguments;
};

class BoardTerminal {
public:
    static std::unique_ptr<BoardTerminal> start(XSession &session, const BoardSetup &setup, std::string &error);
    static std::unique_ptr<BoardTerminal> start(SwaySession &session, const BoardSetup &setup, std::string &error);
    ~BoardTerminal();

    // The xterm's window; 0 for a board in foot.
    Window window() const { return m_xterm ? m_xterm->window() : 0; }
    // Every byte the board received so far, raw.
    std::string received() const;
    // Waits until `done` holds for the received bytes, or `timeout` passes; then the bytes as they are.
    std::string waitForReceived(const std::function<bool(const std::string &)> &done,
                                std::chrono::milliseconds timeout);
    // Waits until the received bytes stop changing for `quiet`; then the bytes.
    std::string waitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout);
    // The memory image written on request, nothing when the board did not answer.
    std::optional<std::string> image();
    // Asks for images until one equals `expected` or `timeout` passes; the last image read.
    std::optional<std::string> waitForImage(const std::string &expected, std::chrono::milliseconds timeout);
    // The board's counters (received=, lost=, errors=) as written with the last image.
    std::optional<std::string> status() const;
    // Closes the terminal window, as a user would, ending the board with it.
    void close();

private:
    explicit BoardTerminal(const std::string &tempDir);
    // The shell line that runs the board and records its PID, and the file it creates once it is ready.
    std::vector<std::string> command(const BoardSetup &setup) const;
    std::string readyFile() const { return m_stem + ".ready"; }
    pid_t boardPid() const;

    std::string m_stem;
    std::unique_ptr<Xterm> m_xterm;
    std::unique_ptr<FootTerminal> m_foot;
};

// Where the CMake build put the programs under test, and the project's sample folder.
std::string quorvanePath();
std::string boardsimPath();
std::string samplesFolder();

} // namespace quorvane::test
