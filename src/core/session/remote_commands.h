#pragma once
// The window's one-shot commands to the selected controller (open doors and relays, clock,
// restart, clear log, self test). Each takes the selected record (none: its message) and
// returns 0 or -1 as commandResult says.
#include <optional>

#include "model/device_info.h"

namespace quorvane {

class ToolSession;

// Read time (command 40): the reply shows "操作成功，设备时间为=…".
int readTime(ToolSession& session, const std::optional<DeviceUIInfo>& selected);

} // namespace quorvane
