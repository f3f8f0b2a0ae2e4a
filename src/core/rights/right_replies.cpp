#include "rights/right_replies.h"

#include "protocol/reply_dispatch.h"
#include "rights/right_frames.h"
#include "rights/right_settings.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
constexpr std::uint8_t kReadAtReply = right_command::kReadAt + 1;
constexpr std::uint8_t kReadOfCardReply = right_command::kReadOfCard + 1;
} // namespace

bool holdsWholeRight(Bytes payload, bool withPosition, int rightMode) {
    return payload.size() >= (withPosition ? 4 : 0) + storedRightLength(rightMode);
}

std::string readReplyNotice(std::uint8_t status, Bytes payload, bool withPosition,
                            const RightTextOptions& options) {
    if (status != 1 || !holdsWholeRight(payload, withPosition, options.rightMode))
        return "权限操作失败！";
    std::string line = formatRightReply(payload, withPosition, options, true);
    if (line.empty())
        return "操作成功，设备上没有要获取的权限！";
    return "获取权限成功，信息=" + line;
}

void installRightReplies(ToolSession& session) {
    ReplyDispatcher& d = session.dispatcher();
    const RightTextOptions options = readRightSettings(session.settings()).textOptions();
    // A download keeps notices off: its thousands of replies are not formatted for nothing on
    // their way to the waiting download.
    d.setHandler(kReadAtReply, [&d, options](const Reply& r) {
        if (d.noticesEnabled())
            d.notice(readReplyNotice(r.status, r.payload, true, options));
        return 0;
    });
    d.setHandler(kReadOfCardReply, [&d, options](const Reply& r) {
        if (d.noticesEnabled())
            d.notice(readReplyNotice(r.status, r.payload, false, options));
        return 0;
    });
}

} // namespace quorvane
