#pragma once
#include <string>

namespace quorvane {
// $QUORVANE_HOME when set (a relative one made absolute from the current directory), else
// the directory of the running executable.
std::string programDirectory();
} // namespace quorvane
