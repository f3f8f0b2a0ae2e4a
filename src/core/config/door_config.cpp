#include "config/door_config.h"

#include <algorithm>

#include "config/config_write.h"
#include "model/record_file.h"
#include "session/batch_summary.h"
#include "session/operation_result.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
constexpr std::uint8_t kWriteDoor = 14;
constexpr const char* kWatchText = "门禁配置保存失败或者操作返回超时！";

std::vector<std::uint8_t> blockPayload(const DoorBlock& block) {
    return {block.begin(), block.end()};
}

int sendDoorBlock(ToolSession& session, const DeviceTarget& target, const DoorBlock& block) {
    auto outcome = sendConfigWrite(session, target, kWriteDoor, blockPayload(block), kWatchText);
    return configWriteResult(session, outcome);
}
} // namespace

DoorConfigOutcome editDoorConfig(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                                 bool fieldsTaken, const DoorConfigSteps& steps) {
    DoorConfigOutcome out;
    out.result = kOperationFailed;
    UserPort& port = session.port();
    // Left as it is when the refresh is not wanted or the controller does not answer: the
    // dialog then shows the record as it was last decoded.
    DeviceUIInfo current = selected.value_or(DeviceUIInfo{});
    if (session.refreshSelected(selected, true, &current) == -1)
        return out;
    if (!fieldsTaken) {
        port.showMessage("保存界面数据失败！");
        return out;
    }
    std::optional<DeviceUIInfo> record;
    DoorBlock working{};
    if (!selected) {
        port.showMessage("没有选中设备，修改后的配置将无法保存！");
    } else {
        record = current;
        working = record->doorConfig;
        out.record = record;
    }
    if (record && record->getTargetId() == kAreaServerId) {
        port.showMessage(
            "当前设备是区域服务器，是软件虚拟的一个设备，用于反潜回/限次，没有配置功能！");
        return out;
    }

    const bool accepted = steps.dialog && steps.dialog(working);
    if (!record)
        return out;
    if (accepted) {
        record->doorConfig = working;
        out.record = record;
        auto target = session.prepareDevAddress(record->ip, &*record);
        if (!target)
            return out;
        out.result = sendDoorBlock(session, *target, record->doorConfig);
    } else {
        out.result = kOperationDeclined;
    }
    if (steps.searchAgain &&
        session.settings().readInt("options", "refresh-list-after-config", 0) != 0)
        steps.searchAgain();
    return out;
}

int writeDoorConfig(ToolSession& session, const DeviceUIInfo& record) {
    auto target = session.prepareDevAddress(record.ip, &record);
    if (!target)
        return kOperationFailed;
    return sendDoorBlock(session, *target, record.doorConfig);
}

int copyDoorConfig(ToolSession& session, const DeviceUIInfo& source,
                   std::vector<DeviceUIInfo>& targets, BatchResult* batch) {
    const BatchStopwatch stopwatch(session.clock());
    BatchSummary summary;
    summary.operation = "复制配置";
    summary.total = static_cast<long>(targets.size());
    // Each target's line, in the targets' order, filled in as each ends.
    std::vector<std::string> lines(targets.size());
    std::vector<std::size_t> sent; // item index → target index
    std::vector<long> unaddressable;
    std::size_t cursor = 0;
    // A target is named by its address, or by its name when it has none.
    auto named = [&targets](std::size_t t) {
        return targets[t].ip.empty() ? targets[t].name : targets[t].ip;
    };
    BatchPlan plan;
    plan.total = summary.total;
    // Every target is waited for, the window's too: the copy ends with each target's result
    // in one summary instead of a "保存成功！" box per target.
    plan.limits = session.oneShotLimits().wait > Clock::Duration::zero() ? session.oneShotLimits()
                                                                         : limits::kCommand;
    plan.quietNotices = true;
    plan.finishInFlight = true;
    plan.next = [&](long) -> std::optional<ExchangeRequest> {
        while (cursor < targets.size()) {
            const std::size_t t = cursor++;
            DeviceUIInfo& target = targets[t];
            auto to = session.prepareDevAddress(target.ip, &target);
            if (!to) {
                lines[t] = named(t) + "：地址无效，未发送";
                ++summary.failed;
                unaddressable.push_back(static_cast<long>(t));
                continue;
            }
            std::copy(source.doorConfig.begin() + kDoorBackupOffset, source.doorConfig.end(),
                      target.doorConfig.begin() + kDoorBackupOffset);
            sent.push_back(t);
            ExchangeRequest request;
            request.target = *to;
            request.command = kWriteDoor;
            request.payload = blockPayload(target.doorConfig);
            return request;
        }
        return std::nullopt;
    };
    plan.answered = [&](long i, const ReceivedReply& reply) {
        const std::size_t t = sent[static_cast<std::size_t>(i)];
        const bool ok = reply.code == kWriteDoor + 1 && reply.status == 1;
        lines[t] = named(t) + (ok ? "：保存成功" : "：保存失败");
        ++(ok ? summary.succeeded : summary.failed);
        return true;
    };
    const BatchResult result = session.batchRunner().run(plan);
    for (long i : result.givenUp) {
        const std::size_t t = sent[static_cast<std::size_t>(i)];
        lines[t] = named(t) + "：无应答";
        ++summary.unanswered;
    }
    summary.cancelled = result.cancelled;
    if (batch) {
        // The caller's items are the targets: the runner counted only those sent.
        *batch = result;
        auto toTargets = [&sent](const std::vector<long>& items) {
            std::vector<long> targets;
            for (long i : items)
                targets.push_back(static_cast<long>(sent[static_cast<std::size_t>(i)]));
            return targets;
        };
        batch->givenUp = toTargets(result.givenUp);
        batch->refused = toTargets(result.refused);
        batch->refused.insert(batch->refused.end(), unaddressable.begin(), unaddressable.end());
    }
    for (std::size_t t = 0; t < targets.size(); ++t)
        summary.itemLines.push_back(lines[t].empty() ? named(t) + "：未处理" : lines[t]);
    summary.elapsed = stopwatch.elapsed();
    session.port().showMessage(batchSummaryText(summary));
    return summary.succeeded == summary.total && !summary.cancelled ? kOperationDone
                                                                    : kOperationFailed;
}

} // namespace quorvane
