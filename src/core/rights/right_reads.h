#pragma once
// Reading one right back from the selected controller: by position (command 52) or by card
// (command 116). Each is sent once with the session's one-shot limits; the reply shows as a
// notice by its standard handling (right_replies.h).
#include <optional>
#include <string>

#include "model/device_info.h"
#include "rights/right_fields.h"

namespace quorvane {

class ToolSession;

struct RightReadResult {
    int rc = -1;      // 0 sent (and, where the session waits, answered with status 1)
    std::string line; // the right's text form; empty when none came or it has no card
};

// "获取权限": the position of "开始索引" and the "向后搜索直到发现有效权限" box.
RightReadResult readRightAt(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                            long position, bool searchForward);

// The right of one card: the text as one card number (blanks and separators around it
// dropped), classified as for an add but not scrambled.
RightReadResult readRightOfCard(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                                const std::string& card);

} // namespace quorvane
