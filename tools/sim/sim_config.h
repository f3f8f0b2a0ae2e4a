#pragma once
// The configuration module: device information (2), basic-configuration write (4), door-access
// read (12) and write (14).
#include <string>

#include "sim_controller.h"

namespace quorvane::sim {

ConfigState initialConfig(const ControllerSeed& seed);

// The device-information payload: the basic block in the controller's form, then the
// door-access block.
std::string deviceInformation(const SimController& controller);

// The door-access block as the controller reports it now.
std::string doorBlock(const SimController& controller);

} // namespace quorvane::sim
