#pragma once
// The device detail text of the selected controller: shown in a message box, and written to
// "devInfo.txt" in the program directory and opened when asked.
#include <optional>
#include <string>

#include "model/device_info.h"

namespace quorvane {

class ToolSession;

inline constexpr const char* kDetailFileName = "devInfo.txt";

// showDevDetailInfo. serviceState: the service status text the window shows. A kOperation…
// result.
int showDevDetailInfo(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                      const std::string& serviceState, bool writeFile);

// OnBnClickedShowState: the selected controller refreshed, then its detail text (also after a
// refresh that timed out, from the record as it was last decoded). refreshed (when given)
// receives the record as it stands now.
int showDeviceState(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                    const std::string& serviceState, DeviceUIInfo* refreshed = nullptr);

} // namespace quorvane
