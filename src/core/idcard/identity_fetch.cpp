#include "idcard/identity_fetch.h"

#include "idcard/identity_info.h"
#include "idcard/identity_reply.h"
#include "idcard/photo_decode.h"
#include "infra/codepage.h"
#include "infra/settings.h"
#include "platform/files.h"
#include "protocol/reply_dispatch.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
int parseVersionOf(const Settings& settings) {
    return settings.readInt("global", "2nd-parse-ver", 1);
}
} // namespace

std::string identityReplyLine(std::uint8_t status, Bytes payload, const std::string& source,
                              int parseVersion) {
    if (status != 1)
        return "操作失败";
    return "操作成功，证件信息为=" + identityLine(payload, source, parseVersion);
}

std::shared_ptr<ReplyTextBuffer> installIdentityReplies(ToolSession& session) {
    auto buffer = std::make_shared<ReplyTextBuffer>();
    ReplyDispatcher& d = session.dispatcher();
    const int parseVersion = parseVersionOf(session.settings());
    d.setHandler(kGetIdentityCommand + 1, [&d, buffer, parseVersion](const Reply& r) {
        std::string line = identityReplyLine(r.status, r.payload, r.source, parseVersion);
        buffer->append(line);
        d.notice(r.status == 1 ? line : "操作失败！");
        return 0;
    });
    return buffer;
}

CommandFetchResult fetchIdentities(ToolSession& session,
                                   const std::optional<DeviceUIInfo>& selected, std::uint32_t start,
                                   std::uint32_t count, PhotoDecoder* photos) {
    if (!selected) {
        session.port().showMessage("请选择要操作的设备！");
        return CommandFetchResult{};
    }
    CommandFetchResult nothing;
    if (count == 0) {
        nothing.rc = 0;
        return nothing;
    }
    Settings& settings = session.settings();
    const int silence = settings.readInt("options", "get-id-timeouts", 5);
    const bool save = settings.readInt("options", "get-id-save-file", 1) != 0;
    auto buffer = installIdentityReplies(session);

    CommandFetchPlan plan;
    plan.command = kGetIdentityCommand;
    plan.start = start;
    plan.count = count;
    plan.silence = std::chrono::seconds(silence);
    plan.pipeTimeoutMs = silence * 1000;
    plan.notices = !save;
    plan.waitCursor = save;
    plan.fileName = kIdentityHistoryFile;
    plan.progressText = "正在提取证件(%ld/%ld)";
    plan.operation = "提取证件";
    CommandFetchResult result = fetchByCommand(session, *selected, plan, *buffer);

    // Handled here rather than on the receive thread: a decoder may take a second per photo.
    const int parseVersion = parseVersionOf(settings);
    const bool debugFile = settings.readInt("data", "output-debug-txt-file", 0) != 0;
    for (const ReceivedReply& r : result.replies) {
        auto message = r.status == 1 ? decodeIdentityReply(r.payload) : std::nullopt;
        auto info = message ? parse2ndMsg(message->textBlock, 0, parseVersion) : std::nullopt;
        if (!info)
            continue;
        if (photos && !message->photo.empty())
            photos->decodePhoto(info->number, message->photo, false);
        if (debugFile)
            platform::replaceFile(session.programDir() + "/id.txt",
                                  toGbk(identityDebugText(*info)));
    }
    return result;
}

} // namespace quorvane
