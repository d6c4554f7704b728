// An xterm on a test session, running a given program, with the resources that make its bytes predictable.
#include "tests/support/Xterm.h"

#include "tests/support/TempDir.h"
#include "tests/support/XQueries.h"

#include <atomic>
#include <thread>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

// Backspace sends 08, Delete ESC [ 3 ~, and the program inside cannot retitle the window.
const std::vector<std::string> kResources = {
    "XTerm*backarrowKey: true", "XTerm*backarrowKeyIsErase: false", "XTerm*ptyInitialErase: false",
    "XTerm*deleteIsDEL: false", "XTerm*allowTitleOps: false",       "XTerm*metaSendsEscape: true",
};

} // namespace

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
    terminal->m_capture = std::make_unique<CaptureFile>(stem + ".bytes");
    XtermOptions options;
    options.title = title;
    options.readyFile = stem + ".ready";
    options.command = {ttycapturePath(), terminal->m_capture->path(), options.readyFile};
    terminal->m_xterm = Xterm::start(session, options, error);
    if (!terminal->m_xterm) {
        return nullptr;
    }
    return terminal;
}

} // namespace quorvane::test
