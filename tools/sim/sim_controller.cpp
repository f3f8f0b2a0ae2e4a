#include "sim_controller.h"

#include "sim_config.h"
#include "sim_logs_state.h"
#include "sim_right_storage.h"

namespace quorvane::sim {

// Group and number when either is set, else the last two bytes of the MAC address.
std::uint16_t SimController::targetId() const {
    const BasicSettings& s = config.basic;
    auto id = static_cast<std::uint16_t>((s.groupNo << 8) | s.deviceNo);
    if (id != 0)
        return id;
    return static_cast<std::uint16_t>((s.mac[4] << 8) | s.mac[5]);
}

SimController makeController(const ControllerSeed& seed) {
    SimController c;
    c.address = seed.address;
    c.config = initialConfig(seed);
    setRightStorage(c.config, seed.rightMode, seed.largeRights);
    seedLogs(c, seed.logs);
    return c;
}

} // namespace quorvane::sim
