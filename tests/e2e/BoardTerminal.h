// The simulated board in an xterm titled like the user's terminal, and what the board received and stored.
#pragma once

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
    ~BoardTerminal();

    Window window() const { return m_xterm->window(); }
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
    BoardTerminal() = default;
    pid_t boardPid() const;

    std::string m_stem;
    std::unique_ptr<Xterm> m_xterm;
};

// Where the CMake build put the programs under test, and the project's sample folder.
std::string quorvanePath();
std::string boardsimPath();
std::string samplesFolder();

} // namespace quorvane::test
