// The controller-side commands: back up and restore its configuration, keep it as its factory
// settings and restore those, and clear all of its data.
#include "commands.h"
#include "device_selection.h"
#include "operation_exit.h"
#include "config/device_backup.h"

namespace quorvane::cli {

namespace {

int backupCommand(CliContext& ctx, DeviceBackupCommand command) {
    return onSelectedDevice(ctx, [command](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        return operationExitCode(deviceBackupCommand(s, d, true, command));
    });
}

} // namespace

int cmdBackup(CliContext& ctx) {
    return backupCommand(ctx, DeviceBackupCommand::Backup);
}
int cmdRestore(CliContext& ctx) {
    return backupCommand(ctx, DeviceBackupCommand::Restore);
}
int cmdBackupFactory(CliContext& ctx) {
    return backupCommand(ctx, DeviceBackupCommand::BackupToFactory);
}
int cmdRestoreFactory(CliContext& ctx) {
    return backupCommand(ctx, DeviceBackupCommand::RestoreFactory);
}
int cmdClearAll(CliContext& ctx) {
    return onSelectedDevice(ctx, [](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        return operationExitCode(clearAllData(s, d));
    });
}

} // namespace quorvane::cli
