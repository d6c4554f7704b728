// Private temporary directories for test sessions, and small file helpers that go with them.
#pragma once

#include <optional>
#include <string>

namespace quorvane::test {

// Creates /tmp/<prefix>XXXXXX; empty on failure.
std::string makeTempDir(const std::string &prefix);
void removeTree(const std::string &path);
bool writeFile(const std::string &path, const std::string &content);
std::optional<std::string> readFile(const std::string &path);
bool fileExists(const std::string &path);

} // namespace quorvane::test
