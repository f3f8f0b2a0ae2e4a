#pragma once
#include <string>

namespace quorvane {
// $QUORVANE_HOME when set, else the directory of the running executable.
std::string programDirectory();
} // namespace quorvane
