#pragma once
// The text commands a controller received.
#include <string>
#include <vector>

namespace quorvane::sim {

struct TextState {
    std::vector<std::string> received; // GBK, in arrival order
};

} // namespace quorvane::sim
