#pragma once
// The fill-log test: command 241 asks the controller to append test records to its log. The
// number is fill-log-cnt (read once per run); 0 asks for a random number below 255 each time.
// The reply (242) shows "操作成功！" or "操作失败！".
#include <cstdint>
#include <functional>
#include <optional>

#include "model/device_info.h"
#include "session/exchange.h"

namespace quorvane {

class ToolSession;

inline constexpr std::uint8_t kFillLogCommand = 241;

// The number of records to ask for: value unless it is 0, else random() (0..254).
std::uint32_t fillLogCount(int value, const std::function<std::uint32_t()>& random);

// OnBnClickedFillLog: "请选择要操作的记录！" without a device; -1 then, else the command's result
// as the session's one-shot commands report it.
int fillLog(ToolSession& session, const std::optional<DeviceUIInfo>& selected, std::uint32_t count);

} // namespace quorvane
