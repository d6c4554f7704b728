// A private headless sway for tests, started as an unprivileged user when the test runs as root (sway refuses root).
#include "tests/support/SwaySession.h"

#include "tests/support/PollUntil.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

constexpr uid_t kNobody = 65534;
// Quorvane's window floats at the output's top left corner without a border, so that a test can click its
// controls at their places in the layout.
std::string config() {
    return "output HEADLESS-1 resolution " + std::to_string(SwaySession::kOutputWidth) + "x" +
           std::to_string(SwaySession::kOutputHeight) +
           "\nxwayland disable\nfor_window [app_id=\"^quorvane$\"] floating enable, border none, move position 0 0\n";
}

bool accepts(const std::string &socketPath) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    const bool connected = connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

// The socket's name is sway's choice (wayland-1 here, not wayland-0): read it from the folder.
std::string findSocket(const std::string &runtimeDir) {
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(runtimeDir, error)) {
        const std::string name = entry.path().filename();
        if (name.starts_with("wayland-") && !name.ends_with(".lock") && entry.is_socket()) {
            return name;
        }
    }
    return {};
}

} // namespace

SwaySession::~SwaySession() {
    if (m_compositor) {
        m_compositor->stop();
    }
    removeTree(m_tempDir);
}

std::unique_ptr<SwaySession> SwaySession::start(std::string &error) {
    std::unique_ptr<SwaySession> session(new SwaySession());
    session->m_tempDir = makeTempDir("quorvane-sway-");
    if (session->m_tempDir.empty()) {
        error = "cannot create a temporary directory";
        return nullptr;
    }
    session->m_runtimeDir = session->m_tempDir + "/runtime";
    if (mkdir(session->m_runtimeDir.c_str(), 0700) != 0 || !writeFile(session->m_tempDir + "/sway.conf", config()) ||
        chmod(session->m_tempDir.c_str(), 0755) != 0 ||
        (geteuid() == 0 && chown(session->m_runtimeDir.c_str(), kNobody, kNobody) != 0)) {
        error = "cannot prepare the compositor's runtime folder";
        return nullptr;
    }
    if (!session->startCompositor(error)) {
        return nullptr;
    }
    return session;
}

bool SwaySession::startCompositor(std::string &error) {
    std::vector<std::string> argv;
    if (geteuid() == 0) {
        // The death signal that ties sway to the test survives the change of user only when asked to.
        argv = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--pdeathsig", "keep"};
    }
    argv.insert(argv.end(), {"env", "-i", "PATH=/usr/bin:/bin", "HOME=/nonexistent", "XDG_RUNTIME_DIR=" + m_runtimeDir,
                             "WLR_BACKENDS=headless", "WLR_LIBINPUT_NO_DEVICES=1", "WLR_RENDERER=pixman", "sway", "-c",
                             m_tempDir + "/sway.conf"});
    const auto started = std::chrono::steady_clock::now();
    m_compositor = ChildProcess::start(argv, {}, m_tempDir + "/sway.log");
    if (!m_compositor) {
        error = "cannot start sway";
        return false;
    }
    const bool ready = pollUntil(
        [this] {
            m_socket = findSocket(m_runtimeDir);
            return !m_compositor->running() || (!m_socket.empty() && accepts(m_runtimeDir + "/" + m_socket));
        },
        20s);
    if (!ready || !m_compositor->running()) {
        error = "sway did not start (see " + m_tempDir + "/sway.log)";
        return false;
    }
    m_startupTime = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    return true;
}

std::vector<std::string> SwaySession::environment() const {
    return {"XDG_RUNTIME_DIR=" + m_runtimeDir,
            "WAYLAND_DISPLAY=" + m_socket,
            "DISPLAY=",
            "LANG=C.UTF-8",
            "LC_ALL=C.UTF-8",
            "XDG_CONFIG_HOME=" + m_tempDir,
            "HOME=" + m_tempDir};
}

void SwaySession::enter() const {
    setenv("XDG_RUNTIME_DIR", m_runtimeDir.c_str(), 1);
    setenv("WAYLAND_DISPLAY", m_socket.c_str(), 1);
}

std::vector<std::string> SwaySession::swaymsgCommand() const {
    std::vector<std::string> argv = {"swaymsg"};
    for (const auto &entry : std::filesystem::directory_iterator(m_runtimeDir)) {
        if (entry.path().filename().string().starts_with("sway-ipc.")) {
            argv.insert(argv.end(), {"-s", entry.path().string()});
        }
    }
    return argv;
}

std::optional<int> SwaySession::swaymsg(const std::vector<std::string> &arguments) const {
    std::vector<std::string> argv = swaymsgCommand();
    argv.push_back("-q");
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return ChildProcess::run(argv, environment());
}

std::optional<std::string> SwaySession::query(const std::string &type) const {
    std::vector<std::string> argv = swaymsgCommand();
    argv.insert(argv.end(), {"-r", "-t", type});
    const std::string output = m_tempDir + "/swaymsg-" + type + ".json";
    auto process = ChildProcess::start(argv, environment(), output);
    if (!process || process->waitForExit(std::chrono::seconds(10)) != 0) {
        return std::nullopt;
    }
    return readFile(output);
}

std::unique_ptr<FootTerminal> FootTerminal::start(SwaySession &session, const std::string &title,
                                                  const std::vector<std::string> &command, const std::string &readyFile,
                                                  std::string &error) {
    std::vector<std::string> argv = {"foot", "--title", title, "--"};
    argv.insert(argv.end(), command.begin(), command.end());
    static int serial = 0;
    auto process = ChildProcess::start(argv, session.environment(),
                                       session.tempDir() + "/foot" + std::to_string(serial++) + ".log");
    if (!process) {
        error = "cannot start foot";
        return nullptr;
    }
    if (!pollUntil([&] { return !process->running() || readyFile.empty() || fileExists(readyFile); }, 20s) ||
        !process->running()) {
        error = "foot or the program inside it did not start";
        return nullptr;
    }
    return std::unique_ptr<FootTerminal>(new FootTerminal(std::move(*process)));
}

std::unique_ptr<FootCapture> FootCapture::start(SwaySession &session, const std::string &title, std::string &error) {
    static int serial = 0;
    const std::string stem = session.tempDir() + "/capture" + std::to_string(serial++);
    auto result = std::make_unique<FootCapture>();
    result->capture = CaptureFile(stem + ".bytes");
    result->terminal = FootTerminal::start(session, title, {ttycapturePath(), stem + ".bytes", stem + ".ready"},
                                           stem + ".ready", error);
    return result->terminal ? std::move(result) : nullptr;
}

} // namespace quorvane::test
