#pragma once
// The access rights a controller stores. Its right count in the door-access block is their
// number.
#include <string>
#include <vector>

namespace quorvane::sim {

struct RightsState {
    std::vector<std::string> records; // each right as the controller stores it
};

} // namespace quorvane::sim
