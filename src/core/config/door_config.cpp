#include "config/door_config.h"

#include <algorithm>

#include "config/config_write.h"
#include "model/record_file.h"
#include "session/device_command.h"
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
    bool unaddressable = false;
    BatchPlan plan;
    plan.total = static_cast<long>(targets.size());
    plan.limits = session.oneShotLimits();
    plan.quietNotices = false;
    plan.next = [&](long i) -> std::optional<ExchangeRequest> {
        if (i >= plan.total)
            return std::nullopt;
        DeviceUIInfo& target = targets[static_cast<std::size_t>(i)];
        auto to = session.prepareDevAddress(target.ip, &target);
        if (!to) {
            unaddressable = true;
            return std::nullopt;
        }
        std::copy(source.doorConfig.begin() + kDoorBackupOffset, source.doorConfig.end(),
                  target.doorConfig.begin() + kDoorBackupOffset);
        ExchangeRequest request;
        request.target = *to;
        request.command = kWriteDoor;
        request.payload = blockPayload(target.doorConfig);
        return request;
    };
    BatchResult result = session.batchRunner().run(plan);
    if (!result.givenUp.empty())
        session.port().showMessage(kSilentDeviceText);
    if (batch)
        *batch = result;
    return !unaddressable && result.allSucceeded() ? kOperationDone : kOperationFailed;
}

} // namespace quorvane
