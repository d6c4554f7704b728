// Who holds a serial port, as the UUCP-style lock files of Linux tell it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane::platform {

// "minicom (process 1234)" when a lock file names a running process for the port at `path`; nothing when no
// lock file names one or its process has ended.
std::optional<std::string> serialPortHolder(std::string_view path);

} // namespace quorvane::platform
