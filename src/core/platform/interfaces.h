#pragma once
#include <string>
#include <vector>

namespace quorvane::platform {
// The dotted IPv4 addresses of the local interfaces in the order the system reports them,
// without 127.0.0.1.
std::vector<std::string> localInterfaces();
} // namespace quorvane::platform
