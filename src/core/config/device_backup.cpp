#include "config/device_backup.h"

#include "session/device_command.h"
#include "session/operation_result.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
constexpr std::uint8_t kClearAll = 50;

const char* question(DeviceBackupCommand command) {
    switch (command) {
    case DeviceBackupCommand::Backup:
        return "确定要备份当前配置吗？";
    case DeviceBackupCommand::Restore:
        return "确定要从备份中恢复配置吗？";
    case DeviceBackupCommand::BackupToFactory:
        return "确定要备份当前配置为出厂配置吗？";
    case DeviceBackupCommand::RestoreFactory:
        return "确定要恢复到出厂配置吗？";
    }
    return "";
}

int send(ToolSession& session, const DeviceUIInfo& record, std::uint8_t command) {
    return commandResult(session, sendDeviceCommand(session, record, command)) == 0
               ? kOperationDone
               : kOperationFailed;
}
} // namespace

int deviceBackupCommand(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                        bool fieldsTaken, DeviceBackupCommand command) {
    UserPort& port = session.port();
    if (!port.askYesNo(question(command)))
        return kOperationDeclined;
    if (!fieldsTaken) {
        port.showMessage("保存界面数据失败！");
        return kOperationFailed;
    }
    if (!selected) {
        port.showMessage("请选择要操作的设备！");
        return kOperationFailed;
    }
    return send(session, *selected, static_cast<std::uint8_t>(command));
}

int clearAllData(ToolSession& session, const std::optional<DeviceUIInfo>& selected) {
    UserPort& port = session.port();
    if (!port.askYesNoDefaultNo(
            "此操作将清除所有数据（包含备份配置及出厂设置、权限数据、日志数据），确定要继"
            "续吗？操作需要几分钟到几十分钟，完成后控制器将自动重新启动！"))
        return kOperationDeclined;
    if (!selected) {
        port.showMessage("请选择要操作的记录！");
        return kOperationFailed;
    }
    return sendRestartingCommand(session, *selected, kClearAll,
                                 "清除所有数据命令已发送，完成后控制器将自动重新启动！");
}

} // namespace quorvane
