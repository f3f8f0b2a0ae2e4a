#pragma once
// Records fetched by command 48: the controller answers each index of the range with one log
// entry (reply 49). The reply's standard handling writes "获取记录成功，信息=…" (or "操作失败")
// into the fetch's text buffer and, while notices are on, shows it. A single record is shown
// as a notice; several are written to "历史日志.txt" and opened (get-log-save-file).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "model/device_info.h"
#include "platform/bytes.h"
#include "records/command_fetch.h"
#include "records/record_decoder.h"

namespace quorvane {

class Settings;
class ToolSession;

inline constexpr std::uint8_t kGetLogCommand = 48;
inline constexpr const char* kLogHistoryFile = "历史日志.txt";

// The line of one record reply (without its line feed): "获取记录成功，信息=" and the record's
// line, or "操作失败" for a failed or short reply.
std::string recordReplyLine(std::uint8_t status, Bytes payload, const RecordDecodeOptions& options);

// Registers the handler of reply 49 on the session's dispatcher (reading force-3byte-card
// now); its lines go to the buffer returned.
std::shared_ptr<ReplyTextBuffer> installRecordReplies(ToolSession& session);

// getLogStr: count records from start. The collected text, and the replies for callers that
// want the records themselves.
CommandFetchResult fetchRecords(ToolSession& session, const DeviceUIInfo& device,
                                std::uint32_t start, std::uint32_t count);
std::string getLogStr(ToolSession& session, const DeviceUIInfo& device, std::uint32_t start,
                      std::uint32_t count);

// "获取": needs a selected device ("请选择要操作的设备！"); a count of 0 does nothing.
int getRecords(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
               std::uint32_t start, std::uint32_t count);

} // namespace quorvane
