#include "records/log_fetch.h"

#include "infra/settings.h"
#include "protocol/reply_dispatch.h"
#include "session/tool_session.h"

namespace quorvane {

std::string recordReplyLine(std::uint8_t status, Bytes payload,
                            const RecordDecodeOptions& options) {
    auto entry = status == 1 ? LogEntry::decode(payload) : std::nullopt;
    if (!entry)
        return "操作失败";
    return "获取记录成功，信息=" + decodeRecord(nullptr, entry->record, entry->sequence, options);
}

std::shared_ptr<ReplyTextBuffer> installRecordReplies(ToolSession& session) {
    auto buffer = std::make_shared<ReplyTextBuffer>();
    ReplyDispatcher& d = session.dispatcher();
    RecordDecodeOptions options;
    options.threeByte = session.settings().readInt("options", "force-3byte-card", 0) != 0;
    d.setHandler(kGetLogCommand + 1, [&d, buffer, options](const Reply& r) {
        std::string line = recordReplyLine(r.status, r.payload, options);
        buffer->append(line);
        const bool ok = line != "操作失败";
        d.notice(ok ? line : "操作失败！");
        return 0;
    });
    return buffer;
}

CommandFetchResult fetchRecords(ToolSession& session, const DeviceUIInfo& device,
                                std::uint32_t start, std::uint32_t count) {
    Settings& settings = session.settings();
    auto buffer = installRecordReplies(session);
    const int silence = settings.readInt("options", "get-log-timeouts", 5);
    const bool save = settings.readInt("options", "get-log-save-file", 1) != 0;

    CommandFetchPlan plan;
    plan.command = kGetLogCommand;
    plan.start = start;
    plan.count = count;
    plan.silence = std::chrono::seconds(silence);
    // Saved to a file, a single record is still shown as a notice, and then not written.
    plan.notices = !save || count == 1;
    plan.waitCursor = save;
    plan.fileName = save && !plan.notices ? kLogHistoryFile : "";
    plan.progressText = "正在提取记录(%ld/%ld)";
    plan.operation = "提取记录";
    return fetchByCommand(session, device, plan, *buffer);
}

std::string getLogStr(ToolSession& session, const DeviceUIInfo& device, std::uint32_t start,
                      std::uint32_t count) {
    return fetchRecords(session, device, start, count).text;
}

int getRecords(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
               std::uint32_t start, std::uint32_t count) {
    if (!selected) {
        session.port().showMessage("请选择要操作的设备！");
        return -1;
    }
    if (count == 0)
        return 0;
    return fetchRecords(session, *selected, start, count).rc;
}

} // namespace quorvane
