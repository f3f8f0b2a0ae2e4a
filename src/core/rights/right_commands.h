#pragma once
// The two rights commands that are sent once without a card list: clear every right of the
// selected controller (command 24) and a simulated swipe (command 114).
#include <optional>

#include "model/device_info.h"
#include "rights/right_fields.h"

namespace quorvane {

class ToolSession;

// Asks "确定要清除控制器上所有权限吗？"; on Yes sends command 24 once with the session's
// one-shot limits (its reply shows "权限操作成功！" or "权限操作失败！"). 0 sent (and, where the
// session waits, answered with status 1); -1 otherwise, also on No.
int clearRights(ToolSession& session, const std::optional<DeviceUIInfo>& selected);

// The whole number field as one card, swiped at the reader of the readers field: 1..8 as it
// is; any other value asks whether reader 5 will do. Sent once, no reply awaited. An empty
// number field: "需要指定刷卡的卡号以及可用读头！". 0 sent, -1 otherwise.
int simulateSwipe(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                  const RightFields& fields);

} // namespace quorvane
