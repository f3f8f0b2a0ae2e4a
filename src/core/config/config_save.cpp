#include "config/config_save.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "config/config_write.h"
#include "infra/codepage.h"
#include "protocol/frame.h"
#include "session/device_targets.h"
#include "session/operation_result.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
constexpr std::uint8_t kWriteBasic = 4;
// The write carries the extended basic block and room for a door-access block, left zero: the
// controller takes its door-access configuration from command 14 only.
constexpr std::size_t kWriteBasicPayload = kExtendedBlockSize + kDoorBlockSize;

constexpr const char* kWatchText =
    "配置保存失败或者操作返回超时，请重新搜索并检查是否保存成功，或者尝试使用“发送广播消息保存”！";

std::uint16_t settingWord(const Settings& s, const char* key, int def) {
    return static_cast<std::uint16_t>(std::clamp(s.readInt("options", key, def), 0, 0xFFFF));
}

void copyFields(const BasicConfigFields& f, const Settings& settings, DeviceUIInfo& r) {
    r.name = f.name;
    r.mac = f.mac;
    r.ip = f.ip;
    r.mask = f.mask;
    r.gateway = f.gateway;
    r.hostAddress = f.hostAddress;
    r.baudIndex = f.baudIndex;
    r.hostPort = f.hostPort;
    r.doorOpenMs = f.doorOpenMs;
    r.doorMode = f.doorMode;
    r.reportFlag = f.reportFlag;
    r.reportMode = f.reportMode;
    r.ipAlloc = static_cast<std::uint8_t>(f.ipAlloc);
    r.serverAddress = f.serverAddress;
    r.serverPort = f.serverPort;
    r.groupNo = f.groupNo;
    r.deviceNo = f.deviceNo;
    r.passTimeout = settingWord(settings, "inout-timeouts", 5);
    r.netTimeout = settingWord(settings, "net-timeouts", 50);
    if (!f.opPassword.empty()) {
        const std::string bytes = gbkPadded(f.opPassword, r.operatorPassword.size());
        std::copy(bytes.begin(), bytes.end(), r.operatorPassword.begin());
    }
}
} // namespace

BasicConfigFields basicFieldsOf(const DeviceUIInfo& r) {
    BasicConfigFields f;
    f.name = r.name;
    f.mac = r.mac;
    f.ip = r.ip;
    f.mask = r.mask;
    f.gateway = r.gateway;
    f.hostAddress = r.hostAddress;
    f.serverAddress = r.serverAddress;
    f.hostPort = static_cast<std::uint16_t>(r.hostPort);
    f.serverPort = r.serverPort;
    f.groupNo = r.groupNo;
    f.deviceNo = r.deviceNo;
    f.baudIndex = r.baudIndex;
    f.doorOpenMs = r.doorOpenMs;
    f.doorMode = r.doorMode;
    f.reportFlag = r.reportFlag;
    f.reportMode = r.reportMode;
    f.ipAlloc = r.ipAlloc;
    return f;
}

bool isMacText(const std::string& text) {
    int parts = 0;
    std::size_t digits = 0;
    for (char c : text) {
        if (c == '.') {
            if (digits == 0)
                return false;
            ++parts;
            digits = 0;
        } else if (std::isxdigit(static_cast<unsigned char>(c)) && digits < 2) {
            ++digits;
        } else {
            return false;
        }
    }
    return digits > 0 && parts == 5;
}

int SaveConfigImpl(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                   const std::optional<BasicConfigFields>& fields, SaveMode mode,
                   const SearchTarget& broadcastTo, DeviceUIInfo* saved) {
    UserPort& port = session.port();
    if (!fields) {
        port.showMessage("保存界面数据失败！");
        return kOperationFailed;
    }
    if (fields->mask.empty() || fields->mask == "0.0.0.0") {
        port.showMessage("需要指定合适的子网掩码！");
        return kOperationFailed;
    }
    if (!selected) {
        port.showMessage("请选择要操作的记录！");
        return kOperationFailed;
    }
    // The controller still answers to the id and at the address it has now: both are taken
    // before the new values are copied in, so a changed number or address travels under the
    // old ones.
    const std::uint16_t targetId =
        mode == SaveMode::BroadcastToAll ? kAnyTarget : selected->getTargetId();
    const DeviceUIInfo& before = *selected;

    DeviceUIInfo record = *selected;
    copyFields(*fields, session.settings(), record);
    if (session.settings().readInt("common", "sn-is-mac", 1) != 0) {
        const std::uint16_t flag = record.getRawDeviceId();
        if (flag == 0) {
            port.showMessage("设备标志不能为0！");
            return kOperationFailed;
        }
        char name[8];
        std::snprintf(name, sizeof name, "%05u", static_cast<unsigned>(flag));
        // A name the person typed would otherwise vanish without a word.
        if (record.name != before.name && record.name != name)
            port.showNotice("设备名称由设备标志生成为" + std::string(name) +
                            "（sn-is-mac=1），输入的名称“" + record.name + "”未保存");
        record.name = name;
    }

    const auto block = encodeBasicBlock(record);
    std::vector<std::uint8_t> payload(kWriteBasicPayload, 0);
    std::copy(block.begin(), block.end(), payload.begin());

    auto prepared = session.prepareDevAddress(before.ip, &before);
    if (!prepared)
        return kOperationFailed;
    if (saved)
        *saved = record;
    DeviceTarget target = *prepared;
    int route = kRouteByDevice;
    if (mode != SaveMode::ToDevice) {
        target = broadcastTarget(broadcastTo.destination, broadcastTo.multicast, targetId);
        route = kRouteUdp;
    }
    target.targetId = targetId;
    auto outcome =
        sendConfigWrite(session, target, kWriteBasic, std::move(payload), kWatchText, route);
    return configWriteResult(session, outcome);
}

bool confirmBroadcastSave(UserPort& port) {
    return port.askYesNo(
        "可能导致多个设备有相同的MAC地址/IP地址，导致通信异常，确定要通过广播保存配"
        "置到网络中的所有设备吗？");
}

std::optional<SaveMode> chooseBroadcastSave(UserPort& port, bool multicast) {
    if (multicast)
        return SaveMode::BroadcastToDevice;
    Answer whom = port.askYesNoCancel(
        "通过广播消息发送保存配置命令给当前设备吗？广播给指定选中设备选择“是”，广播到网络中所有设"
        "备选择“否”，退出选择“取消”。");
    if (whom == Answer::Cancel)
        return std::nullopt;
    if (!confirmBroadcastSave(port))
        return std::nullopt;
    return whom == Answer::Yes ? SaveMode::BroadcastToDevice : SaveMode::BroadcastToAll;
}

} // namespace quorvane
