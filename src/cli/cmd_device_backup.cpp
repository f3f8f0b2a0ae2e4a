// The controller-side commands: back up and restore its configuration, keep it as its factory
// settings and restore those, and clear all of its data.
#include "commands.h"
#include "device_selection.h"
#include "operation_exit.h"
#include "session/device_backup.h"

namespace quorvane::cli {

namespace {

template <class Operation> int onSelectedDevice(CliContext& ctx, Operation operation) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    OnlineSession session(ctx);
    int code = kOk;
    auto device = selectDevice(ctx, *session, code);
    if (!device)
        return code;
    return operationExitCode(operation(*session, device));
}

int backupCommand(CliContext& ctx, DeviceBackupCommand command) {
    return onSelectedDevice(ctx, [command](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        return deviceBackupCommand(s, d, true, command);
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
        return clearAllData(s, d);
    });
}

} // namespace quorvane::cli
