#pragma once
// The state dump: one JSON document with a sequence number, why it was written, and for every
// controller its address, target id, the requests it took by code and each module's state.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim_controller.h"

namespace quorvane::sim {

std::string stateDump(std::uint64_t sequence, std::string_view reason,
                      const std::vector<SimController>& controllers);

} // namespace quorvane::sim
