#pragma once
#include "cli_context.h"

namespace quorvane::cli {
// Offline decoders (cmd_decode_frame.cpp).
int cmdDecodeFrame(CliContext& ctx);
// Offline decoders of records, rights, status words and identity replies (cmd_decode_codecs.cpp).
int cmdDecodeRecord(CliContext& ctx);
int cmdDecodeRight(CliContext& ctx);
int cmdDecodeStatus(CliContext& ctx);
int cmdDecodeIdcard(CliContext& ctx);
// Card numbers and right lines (cmd_card.cpp).
int cmdCardCheck(CliContext& ctx);
int cmdCardParse(CliContext& ctx);
int cmdCardConvert(CliContext& ctx);
int cmdRightTextParse(CliContext& ctx);
// Search (cmd_search.cpp).
int cmdSearch(CliContext& ctx);
// Configuration (cmd_config.cpp).
int cmdDetail(CliContext& ctx);
int cmdSave(CliContext& ctx);
int cmdDoorConfig(CliContext& ctx);
int cmdCopyConfig(CliContext& ctx);
// Controller-side backups and clearing (cmd_device_backup.cpp).
int cmdBackup(CliContext& ctx);
int cmdRestore(CliContext& ctx);
int cmdBackupFactory(CliContext& ctx);
int cmdRestoreFactory(CliContext& ctx);
int cmdClearAll(CliContext& ctx);
// Remote commands (cmd_time.cpp, cmd_remote.cpp, cmd_set485.cpp).
int cmdTimeGet(CliContext& ctx);
int cmdTimeSet(CliContext& ctx);
int cmdOpen(CliContext& ctx);
int cmdOpenAll(CliContext& ctx);
int cmdReset(CliContext& ctx);
int cmdClearLog(CliContext& ctx);
int cmdSelfTest(CliContext& ctx);
int cmdSet485(CliContext& ctx);
// Text commands (cmd_text.cpp).
int cmdText(CliContext& ctx);
int cmdFinger(CliContext& ctx);
int cmdPreset(CliContext& ctx);
// Host service (cmd_service.cpp).
int cmdService(CliContext& ctx);
// Rights (cmd_rights.cpp).
int cmdRightsAdd(CliContext& ctx);
int cmdRightsRemove(CliContext& ctx);
int cmdRightsCheck(CliContext& ctx);
int cmdRightsClear(CliContext& ctx);
int cmdRightsGet(CliContext& ctx);
int cmdRightsDownload(CliContext& ctx);
int cmdRightsUpload(CliContext& ctx);
int cmdRightsCopy(CliContext& ctx);
int cmdRightsSwipe(CliContext& ctx);
// Memory, firmware and the right image (cmd_memory.cpp).
int cmdMemRead(CliContext& ctx);
int cmdMemWrite(CliContext& ctx);
int cmdFirmwareUpgrade(CliContext& ctx);
int cmdFirmwareRead(CliContext& ctx);
int cmdFirmwareErase(CliContext& ctx);
int cmdRightsImage(CliContext& ctx);
// Records and identity documents (cmd_logs.cpp).
int cmdLogsFetch(CliContext& ctx);
int cmdLogsFill(CliContext& ctx);
int cmdIdsFetch(CliContext& ctx);
// The log viewer (cmd_logs_view.cpp).
int cmdLogsView(CliContext& ctx);
} // namespace quorvane::cli
