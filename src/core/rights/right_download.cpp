#include "rights/right_download.h"

#include <algorithm>
#include <cstdio>

#include "model/config_table.h"
#include "rights/card_list.h"
#include "rights/right_frames.h"
#include "rights/right_image.h"
#include "rights/right_reads.h"
#include "rights/right_result_files.h"
#include "rights/right_settings.h"
#include "rights/right_text.h"
#include "session/device_command.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
constexpr std::uint32_t kFirstPosition = 1;
constexpr std::uint8_t kReadAtReply = right_command::kReadAt + 1;
// Every slot the right storage's bitmap can mark: no controller holds more rights.
constexpr long kStorageCapacity = long(kBitmapBytes) * 8;

// A controller that never sends its end marker is read no further than its stored right
// count with room for rights added meanwhile, and never past what its storage can hold.
long readLimit(long storedCount) {
    return std::min(kStorageCapacity, storedCount + std::max(1024L, storedCount / 4));
}
} // namespace

DownloadResult downloadRights(ToolSession& session, const DeviceUIInfo& device, bool searchForward,
                              bool openAfterwards) {
    DownloadResult result;
    auto target = session.prepareDevAddress(device.ip, &device);
    if (!target)
        return result;
    UserPort& port = session.port();
    WinDisabler busy(port);
    const RightTextOptions options = readRightSettings(session.settings()).textOptions();

    std::uint32_t position = kFirstPosition;
    bool endMarker = false;
    bool refused = false;
    bool overrun = false;
    BatchPlan plan;
    plan.total = static_cast<long>(readNumber(configField("rightCount"), device.doorConfig));
    const long limit = readLimit(plan.total);
    plan.limits = limits::kDownloadStep;
    plan.onGiveUp = GiveUp::StopBatch;
    plan.quietNotices = true;
    plan.next = [&](long index) -> std::optional<ExchangeRequest> {
        if (index >= limit) {
            overrun = true;
            return std::nullopt;
        }
        ExchangeRequest request;
        request.target = *target;
        request.command = right_command::kReadAt;
        request.payload = positionPayload(position, searchForward);
        // A late repeat of the previous step's reply names an earlier position: not this one.
        request.accept = [asked = position](const Reply& r) { return answersReadAt(r, asked); };
        // The rights read go to the file, not into notices.
        request.consume = true;
        return request;
    };
    plan.answered = [&](long, const ReceivedReply& reply) {
        auto read = readPositionReply(reply.payload);
        if (reply.code != kReadAtReply || reply.status != 1 || !read) {
            refused = true;
            return false;
        }
        if (read->position == kNoMoreRights) {
            endMarker = true;
            return false;
        }
        std::string line = formatRightReply(reply.payload, true, options, true);
        if (!line.empty())
            result.lines.push_back(std::move(line));
        ++result.replies;
        position = read->position + 1;
        return true;
    };
    plan.progressText = [&result](long, long total) {
        char text[64];
        std::snprintf(text, sizeof text, "正在下载权限(%ld/%ld)", result.replies, total);
        return std::string(text);
    };
    BatchResult batch = session.batchRunner().run(plan);
    result.cancelled = batch.cancelled;
    result.rc = endMarker ? 0 : -2;

    // A download that failed or was cancelled leaves the last whole one in place: an empty or
    // partial file would replace rights the person still needs. An overrun was read through.
    const bool whole = endMarker || overrun;
    if (auto path = whole ? writeResultList(session, kDownloadFile, result.lines) : std::nullopt) {
        result.file = *path;
        if (openAfterwards)
            port.openDocument(*path, false);
    }
    if (result.cancelled)
        port.showMessage("操作已取消，已下载权限数量=" + std::to_string(result.lines.size()));
    else if (!batch.givenUp.empty())
        port.showMessage(kSilentDeviceText);
    else if (refused)
        port.showMessage("权限操作失败！");
    else if (overrun)
        port.showMessage("设备未发送权限结束标志，已读取的权限数量超过设备记录的权限数量，"
                         "下载已停止，已下载权限数量=" +
                         std::to_string(result.lines.size()));
    return result;
}

int downloadRightsOrCard(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                         const RightFields& fields) {
    if (!selected) {
        session.port().showMessage("请选择要操作的设备！");
        return -1;
    }
    if (!wholeCard(fields.numbers).empty())
        return readRightOfCard(session, selected, fields.numbers).rc;
    return downloadRights(session, *selected, fields.searchForward, true).rc;
}

} // namespace quorvane
