// The width of the console that standard error writes to, for a progress line that must not wrap.
#pragma once

#include <cstddef>

namespace quorvane::platform {

// Columns of the terminal (or console window) on standard error; 0 when it is not a terminal or will not say.
std::size_t stderrColumns();

} // namespace quorvane::platform
