// An xterm on a test session, running a given program, with the resources that make its bytes predictable.
#include "tests/support/Xterm.h"

#include "tests/support/TempDir.h"
#include "tests/support/XQueries.h"

#include <atomic>
#include <filesystem>
#include <thread>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

// Backspace sends 08, Delete ESC [ 3 ~, and the program inside cannot retitle the window.
const std::vector<std::string> kResources = {
    "XTerm*backarrowKey: true", "XTerm*backarrowKeyIsErase: false", "XTerm*ptyInitialErase: false",
    "XTerm*deleteIsDEL: false", "XTerm*allowTitleOps: false",       "XTerm*metaSendsEscape: true",
};

std::size_t fileSize(const std::string &path) {
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<std::size_t>(size);
}

} // namespace

std::string ttycapturePath() { return QUORVANE_TTYCAPTURE_PATH; }

std::unique_ptr<Xterm> Xterm::start(XSession &session, const XtermOptions &options, std::string &error) {
    std::vector<std::string> argv = {"xterm", "-T", options.title, "-n", options.title, "-u8", "-geometry", "100x30"};
    std::vector<std::string> resources = kResources;
    resources.insert(resources.end(), options.resources.begin(), options.resources.end());
    for (const auto &resource : resources) {
        argv.push_back("-xrm");
        argv.push_back(resource);
    }
    argv.push_back("-e");
    argv.insert(argv.end(), options.command.begin(), options.command.end());
    auto process = ChildProcess::start(argv, session.environment(), session.tempDir() + "/xterm.log");
    if (!process) {
        error = "cannot start xterm";
        return nullptr;
    }
    const auto deadline = std::chrono::steady_clock::now() + options.timeout;
    std::optional<Window> window;
    while (std::chrono::steady_clock::now() < deadline && process->running()) {
        window = findViewableClient(session.display(), process->pid(), options.title);
        if (window && (options.readyFile.empty() || fileExists(options.readyFile))) {
            return std::unique_ptr<Xterm>(new Xterm(std::move(*process), *window));
        }
        std::this_thread::sleep_for(10ms);
    }
    error = window ? "the program inside xterm did not signal readiness" : "xterm's window did not appear";
    return nullptr;
}

Xterm::~Xterm() { m_process.stop(); }

std::unique_ptr<CaptureTerminal> CaptureTerminal::start(XSession &session, const std::string &title,
                                                        std::string &error) {
    static std::atomic<int> serial{0};
    const std::string stem = session.tempDir() + "/capture" + std::to_string(serial++);
    std::unique_ptr<CaptureTerminal> terminal(new CaptureTerminal());
    terminal->m_capturePath = stem + ".bytes";
    XtermOptions options;
    options.title = title;
    options.readyFile = stem + ".ready";
    options.command = {ttycapturePath(), terminal->m_capturePath, options.readyFile};
    terminal->m_xterm = Xterm::start(session, options, error);
    if (!terminal->m_xterm) {
        return nullptr;
    }
    return terminal;
}

std::string CaptureTerminal::take(std::size_t count, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (fileSize(m_capturePath) < m_taken + count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    // A quiet spell: bytes that were not meant (a doubled key, say) must show in this case, not the next.
    std::size_t size = fileSize(m_capturePath);
    do {
        size = fileSize(m_capturePath);
        std::this_thread::sleep_for(100ms);
    } while (fileSize(m_capturePath) != size);
    std::string all = everything();
    std::string fresh = all.size() > m_taken ? all.substr(m_taken) : std::string();
    m_taken = all.size();
    return fresh;
}

std::string CaptureTerminal::everything() const { return readFile(m_capturePath).value_or(std::string()); }

} // namespace quorvane::test
