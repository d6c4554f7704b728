// Lock files are named LCK..<device> and start with the holder's process id in ASCII (Qt's own add a line
// with the program name after it); the program's name comes from /proc.
#include "platform/qtserial/LockFiles.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/types.h>
#include <vector>

namespace quorvane::platform {

namespace {

namespace fs = std::filesystem;

// The places that serial programs and Qt (which falls back to the temporary folder) write lock files in.
constexpr const char *kLockFolders[] = {"/var/lock", "/run/lock", "/var/spool/locks", "/var/spool/uucp", "/tmp"};

// The lock-file names a program may have used: the device's own name (ttyUSB0), and the path below /dev or
// the whole path with slashes as underscores, as Qt spells it for a device outside /dev.
std::vector<std::string> lockNames(std::string_view path) {
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::path &device : {fs::path(path), fs::canonical(fs::path(path), error)}) {
        if (device.empty()) {
            continue;
        }
        names.push_back("LCK.." + device.filename().string());
        std::string spelled = device.string();
        if (spelled.starts_with("/dev/")) {
            spelled.erase(0, 5);
        }
        for (char &ch : spelled) {
            ch = ch == '/' ? '_' : ch;
        }
        names.push_back("LCK.." + spelled);
    }
    return names;
}

std::optional<pid_t> runningProcess(const fs::path &lockFile) {
    std::ifstream file(lockFile);
    long pid = 0;
    if (!(file >> pid) || pid <= 0) {
        return std::nullopt;
    }
    if (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
        return std::nullopt;
    }
    return static_cast<pid_t>(pid);
}

} // namespace

std::optional<std::string> serialPortHolder(std::string_view path) {
    for (const char *folder : kLockFolders) {
        for (const std::string &name : lockNames(path)) {
            const auto pid = runningProcess(fs::path(folder) / name);
            if (!pid) {
                continue;
            }
            std::ifstream comm("/proc/" + std::to_string(*pid) + "/comm");
            std::string program;
            std::getline(comm, program);
            return (program.empty() ? "a program" : program) + " (process " + std::to_string(*pid) + ")";
        }
    }
    return std::nullopt;
}

} // namespace quorvane::platform
