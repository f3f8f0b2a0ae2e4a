#pragma once
// The window's one-shot commands to the selected controller (open doors and relays, clock,
// restart, clear log, self test). Each takes the selected record (none: its message) and
// returns 0 or -1 as commandResult says, or kDeclined when the person answered No or Cancel
// and nothing was sent.
#include <cstdint>
#include <optional>
#include <string>

#include "model/device_info.h"
#include "protocol/admin_channel.h"

namespace quorvane {

class ToolSession;

inline constexpr int kDeclined = 1;

// Shown for an open time the 16-bit time value cannot carry.
inline constexpr const char* kOpenTimeRangeText = "开门时长必须是0到655350之间的毫秒数！";

// Opens door doorIndex (0-based, 0..163) for milliseconds, or switches its relay to a state
// (650010 .. 650050: the state values 65001 .. 65005). The reply shows "操作成功！", or for a
// failure status "失败" (status 0) or "未知".
int openDoor(ToolSession& session, const std::optional<DeviceUIInfo>& selected, int doorIndex,
             long milliseconds);

// Open on all controllers: asks whether the broadcast goes to the selected controller (Yes) or
// to every controller (No, target id 0xFFFF); Cancel sends nothing.
int openDoorAll(ToolSession& session, const std::optional<DeviceUIInfo>& selected, int doorIndex,
                long milliseconds);
// The broadcast itself, to the search destination where, for targetId.
int sendOpenAll(ToolSession& session, const SearchTarget& where, std::uint16_t targetId,
                int doorIndex, long milliseconds);

// Read time (command 40): the reply shows "操作成功，设备时间为=…"; time (when given) receives
// the controller's time as that text has it.
int readTime(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
             std::string* time = nullptr);
// Set time (command 38) to the session clock's local time, with the weekday.
int setTime(ToolSession& session, const std::optional<DeviceUIInfo>& selected);
// Restart (command 66) after "确定要重新启动设备？".
int resetDevice(ToolSession& session, const std::optional<DeviceUIInfo>& selected);
// Clear the log (command 64) after its question; the controller restarts afterwards.
int clearLog(ToolSession& session, const std::optional<DeviceUIInfo>& selected);
// Self test (command 243) with the test flag word; the reply shows its return code.
int selfTest(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
             std::uint32_t flags);

} // namespace quorvane
