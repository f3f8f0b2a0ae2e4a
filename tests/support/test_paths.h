#pragma once
// Where tests find the built programs, the source tree, and a fresh scratch directory.
#include <string>

namespace quorvane::test {

std::string binDir();
std::string sourceDir();
// A new empty directory below the system temp directory, removed at process exit.
std::string scratchDir(const std::string& name);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
std::string hex(const std::string& bytes);
std::string unhex(const std::string& text);

} // namespace quorvane::test
