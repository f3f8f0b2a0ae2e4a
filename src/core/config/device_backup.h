#pragma once
// The controller's own backup and restore of its configuration (commands 96, 98, 100, 102)
// and clearing all of its data (command 50). Each asks the person first.
#include <cstdint>
#include <optional>

#include "model/device_info.h"

namespace quorvane {

class ToolSession;

enum class DeviceBackupCommand : std::uint8_t {
    Backup = 96,          // "备份配置"
    BackupToFactory = 98, // "备份为出厂设置"
    Restore = 100,        // "恢复配置"
    RestoreFactory = 102, // "恢复出厂设置"
};

// The question, then the command to the selected controller. fieldsTaken: false when the
// window's values could not be taken. A kOperation… result (kOperationDeclined on No).
int deviceBackupCommand(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                        bool fieldsTaken, DeviceBackupCommand command);

// OnBnClickedClearAll: the question, then command 50 to the selected controller.
int clearAllData(ToolSession& session, const std::optional<DeviceUIInfo>& selected);

} // namespace quorvane
