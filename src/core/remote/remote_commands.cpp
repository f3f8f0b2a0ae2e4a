#include "remote/remote_commands.h"

#include <array>

#include "protocol/device_time.h"
#include "protocol/open_door.h"
#include "session/device_command.h"
#include "session/device_targets.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
constexpr std::uint8_t kSetTime = 38;
constexpr std::uint8_t kReadTime = 40;
constexpr std::uint8_t kClearLog = 64;
constexpr std::uint8_t kRestart = 66;
constexpr std::uint8_t kSelfTest = 243;

constexpr const char* kNoDevice = "请选择要操作的设备！";
constexpr const char* kNoRecord = "请选择要操作的记录！";
constexpr const char* kValuesNotTaken = "保存界面数据失败！";

std::vector<std::uint8_t> bytes(const auto& a) {
    return std::vector<std::uint8_t>(a.begin(), a.end());
}

// The open-door payload, or nothing after the message that says what is wrong. A time the
// 16-bit value cannot carry is refused rather than wrapped into another time.
std::optional<std::vector<std::uint8_t>> openPayload(UserPort& port, int doorIndex,
                                                     long milliseconds, const char* badDoor) {
    auto value = openTimeValue(milliseconds);
    if (!value) {
        port.showMessage(kOpenTimeRangeText);
        return std::nullopt;
    }
    if (doorIndex < 0 || doorIndex >= kDoorCount) {
        if (badDoor)
            port.showMessage(badDoor);
        return std::nullopt;
    }
    return bytes(openDoorPayload(static_cast<std::uint8_t>(doorIndex + 1), *value));
}

// The command to the selected controller, or its message when none is selected.
int toSelected(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
               const char* noSelection, std::uint8_t command,
               std::vector<std::uint8_t> payload = {}) {
    if (!selected) {
        session.port().showMessage(noSelection);
        return -1;
    }
    return commandResult(session,
                         sendDeviceCommand(session, *selected, command, std::move(payload)));
}
} // namespace

int openDoor(ToolSession& session, const std::optional<DeviceUIInfo>& selected, int doorIndex,
             long milliseconds) {
    auto payload = openPayload(session.port(), doorIndex, milliseconds, nullptr);
    if (!payload)
        return -1;
    return toSelected(session, selected, kNoRecord, kOpenDoorCommand, std::move(*payload));
}

int openDoorAll(ToolSession& session, const std::optional<DeviceUIInfo>& selected, int doorIndex,
                long milliseconds) {
    if (!openPayload(session.port(), doorIndex, milliseconds, kValuesNotTaken))
        return -1;
    Answer a = session.port().askYesNoCancel(
        "通过广播消息开启当前选中设备的继电器吗？广播给指定设备选择“是”，广播到网络中所有设备选择"
        "“否”，退出选择“取消”。");
    if (a == Answer::Cancel)
        return kDeclined;
    std::uint16_t targetId = kAnyTarget;
    if (a == Answer::Yes) {
        if (!selected) {
            session.port().showMessage(kNoRecord);
            return -1;
        }
        targetId = selected->getTargetId();
    }
    return sendOpenAll(session, session.channel().searchTarget(), targetId, doorIndex,
                       milliseconds);
}

int sendOpenAll(ToolSession& session, const SearchTarget& where, std::uint16_t targetId,
                int doorIndex, long milliseconds) {
    auto payload = openPayload(session.port(), doorIndex, milliseconds, kValuesNotTaken);
    if (!payload)
        return -1;
    ExchangeRequest request;
    request.target = broadcastTarget(where.destination, where.multicast, targetId);
    request.command = kOpenDoorCommand;
    request.payload = std::move(*payload);
    // A broadcast never goes through the host service.
    request.route = kRouteUdp;
    return commandResult(session, session.exchange().run(request, session.oneShotLimits()));
}

int readTime(ToolSession& session, const std::optional<DeviceUIInfo>& selected, std::string* time) {
    if (!selected) {
        session.port().showMessage(kNoDevice);
        return -1;
    }
    ExchangeOutcome outcome = sendDeviceCommand(session, *selected, kReadTime);
    int rc = commandResult(session, outcome);
    if (rc != 0 || !outcome.reply)
        return rc;
    // Status 1 with too few bytes for a time is shown as a failure, and it is one.
    auto text = deviceTimeText(outcome.reply->payload);
    if (!text)
        return -1;
    if (time)
        *time = *text;
    return rc;
}

int setTime(ToolSession& session, const std::optional<DeviceUIInfo>& selected) {
    return toSelected(session, selected, kNoDevice, kSetTime,
                      bytes(setTimePayload(session.clock().localTime())));
}

int resetDevice(ToolSession& session, const std::optional<DeviceUIInfo>& selected) {
    // Nothing to ask about without a controller.
    if (!selected) {
        session.port().showMessage(kNoDevice);
        return -1;
    }
    if (!session.port().askYesNo("确定要重新启动设备？"))
        return kDeclined;
    return sendRestartingCommand(session, *selected, kRestart, "重启设备命令已发送！");
}

int clearLog(ToolSession& session, const std::optional<DeviceUIInfo>& selected) {
    if (!selected) {
        session.port().showMessage(kNoRecord);
        return -1;
    }
    if (!session.port().askYesNo(
            "确定要清除控制器上所有日志记录吗？此操作需要几分钟到几十分钟，日志"
            "清除后控制器将自动重新启动！"))
        return kDeclined;
    return toSelected(session, selected, kNoRecord, kClearLog);
}

int selfTest(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
             std::uint32_t flags) {
    std::array<std::uint8_t, 4> word{};
    ByteWriter(word).putU32le(flags);
    return toSelected(session, selected, kNoRecord, kSelfTest, bytes(word));
}

} // namespace quorvane
