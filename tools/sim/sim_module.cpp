#include "sim_module.h"

#include <array>

namespace quorvane::sim {

std::span<const SimModule* const> simModules() {
    static const std::array<const SimModule*, 6> kModules = {
        &kConfigModule, &kRemoteModule, &kRightsModule, &kMemoryModule, &kLogsModule, &kTextModule};
    return kModules;
}

} // namespace quorvane::sim
