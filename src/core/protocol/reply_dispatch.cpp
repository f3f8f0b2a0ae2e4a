#include "protocol/reply_dispatch.h"

#include <algorithm>
#include <cstdio>

#include "infra/codepage.h"
#include "infra/shown_text.h"
#include "infra/tool_log.h"
#include "protocol/code_tables.h"
#include "protocol/device_time.h"
#include "protocol/frame.h"

namespace quorvane {

namespace {
constexpr std::size_t kPreambleSize = 24;

bool hasReplyPreamble(Bytes d) {
    if (d.size() < kPreambleSize)
        return false;
    for (std::size_t i = 0; i < 16; ++i)
        if (d[i] != 0xAA)
            return false;
    for (std::size_t i = 16; i < kPreambleSize; ++i)
        if (d[i] != 0xFF)
            return false;
    return true;
}

// A text command's reply carries the controller's own text after the result only when every
// byte of its payload is text: one with a zero byte inside is not shown at all.
std::string textReplyTail(Bytes payload) {
    if (payload.empty() || std::find(payload.begin(), payload.end(), 0) != payload.end())
        return {};
    std::string_view gbk(reinterpret_cast<const char*>(payload.data()), payload.size());
    return shownText(fromGbk(gbk), kShownLineLimit);
}

ReplyHandler statusMessage(ReplyDispatcher* d, const char* ok, const char* failed) {
    return [d, ok, failed](const Reply& r) {
        d->notice(r.status == 1 ? ok : failed);
        return 0;
    };
}
} // namespace

ReplyDispatcher::ReplyDispatcher(ToolLog* log, std::string dataDir,
                                 std::function<void(const std::string&)> notice, Clock& clock)
    : pendingReply(clock), log_(log), dataDir_(std::move(dataDir)), clock_(clock),
      noticeSink_(std::move(notice)) {
    registerStandardHandlers();
}

void ReplyDispatcher::setHandler(std::uint8_t replyCode, ReplyHandler handler) {
    std::lock_guard l(handlersMutex_);
    handlers_[replyCode] = std::move(handler);
}

void ReplyDispatcher::addSlot(std::shared_ptr<ReplySlot> slot) {
    std::lock_guard l(handlersMutex_);
    slots_.push_back(std::move(slot));
}

void ReplyDispatcher::removeSlot(const ReplySlot* slot) {
    std::lock_guard l(handlersMutex_);
    std::erase_if(slots_, [slot](const auto& s) { return s.get() == slot; });
}

std::size_t ReplyDispatcher::slotCount() const {
    std::lock_guard l(handlersMutex_);
    return slots_.size();
}

void ReplyDispatcher::notice(const std::string& text) {
    if (noticesEnabled_.load() && noticeSink_)
        noticeSink_(text);
}

void ReplyDispatcher::logLine(const std::string& text) {
    if (log_)
        log_->writeLogLine(text);
}

void ReplyDispatcher::writeCapture(const std::string& fileName, Bytes data) {
    writeBinaryFile(log_, dataDir_ + "/" + fileName, data);
}

int ReplyDispatcher::handleReply(Bytes data, const std::string& source, bool viaUdp) {
    if (data.empty())
        return 0;
    if (log_)
        log_->writeLogDump("buffer from " + source + " dumped:\n", data);
    if (!hasReplyPreamble(data))
        return 0;
    if (data.size() < kMinFrameSize) {
        logLine("reply shorter than a frame dropped, length=" + std::to_string(data.size()) + "\n");
        return 0;
    }
    FrameInfo info = inspectFrame(data);
    if (!info.lengthFits) {
        // The length field would put the checksum past what arrived: nothing here can be
        // trusted, so the datagram goes no further.
        logLine("reply length field beyond the datagram dropped, length=" +
                std::to_string(info.length) + ", received=" + std::to_string(data.size()) + "\n");
        return 0;
    }
    logLine("cmd rsp sequence = " + std::to_string(info.sequence) + "\n");

    Reply reply;
    reply.code = info.command;
    reply.status = info.status;
    reply.sequence = info.sequence;
    reply.payload = data.subspan(offsets::kPayload, info.length);
    reply.frame = data;
    reply.source = source;
    reply.viaUdp = viaUdp;
    if (!info.checksumOk) {
        // Kept for the person and shown, but answered to nobody: a status byte that may be
        // damaged must not report an operation as done.
        writeCapture("Error-sum.bin", data);
        notice("返回消息检验和失败！");
        return 0;
    }

    pendingReply.answered(reply.code);

    ReplyHandler handler;
    std::vector<std::shared_ptr<ReplySlot>> waiting;
    bool refused = false;
    {
        std::lock_guard l(handlersMutex_);
        handler = handlers_[reply.code];
        for (const auto& s : slots_) {
            if (s->wants(reply))
                waiting.push_back(s);
            else
                refused = refused || s->awaits(reply.code);
        }
    }
    bool consumed = false;
    for (const auto& s : waiting)
        consumed = consumed || s->consumes();
    // A reply of an awaited code that its operation refused (another sender, an earlier item)
    // is nobody's: its notice would report a result for the wrong item. Search replies (3)
    // are list rows whoever waits for one controller's.
    if (refused && waiting.empty() && reply.code != 3)
        consumed = true;
    // The standard handling first: an operation woken by this reply finds its notice shown.
    int rc = !consumed && handler ? handler(reply) : 0;
    for (const auto& s : waiting)
        s->deliver(reply);
    return rc;
}

void ReplyDispatcher::registerStandardHandlers() {
    setHandler(5, [this](const Reply& r) {
        pendingReply.disarm();
        notice(r.status == 1 ? "操作成功！" : "操作失败！");
        return 0;
    });
    setHandler(15, [this](const Reply& r) {
        pendingReply.disarm();
        notice(r.status == 1 ? "保存成功！" : "保存失败！");
        return 0;
    });
    setHandler(17, [this](const Reply& r) {
        notice(openResultText(r.status));
        return 0;
    });
    for (int code : {39, 65, 83, 97, 99, 101, 103, 242})
        setHandler(static_cast<std::uint8_t>(code),
                   statusMessage(this, "操作成功！", "操作失败！"));
    setHandler(41, [this](const Reply& r) {
        auto time = r.status == 1 ? deviceTimeText(r.payload) : std::nullopt;
        notice(time ? "操作成功，设备时间为=" + *time : "操作失败！");
        return 0;
    });
    setHandler(73, statusMessage(this, "清除程序操作成功！", "清除程序操作失败！"));
    setHandler(129, statusMessage(this, "升级操作处理中，请等待设备升级完成后自动重新启动！",
                                  "操作失败或者不支持升级！如果是批量升级请尝试逐个设备升级！"));
    setHandler(149, [this](const Reply& r) {
        notice((r.status == 1 ? "操作成功！" : "操作失败！") + textReplyTail(r.payload));
        return 0;
    });
    setHandler(244, [this](const Reply& r) {
        int code = r.payload.empty() ? 0 : r.payload[0];
        notice((r.status == 1 ? "自测操作成功！返回码：" : "自测操作失败！返回码：") +
               std::to_string(code));
        return 0;
    });
    // Rights: one right per reply, so an add that went through always counts one.
    for (int code : {19, 43})
        setHandler(static_cast<std::uint8_t>(code),
                   statusMessage(this, "添加权限结束，成功添加数量=1", "权限操作失败！"));
    for (int code : {21, 25, 45, 47})
        setHandler(static_cast<std::uint8_t>(code),
                   statusMessage(this, "权限操作成功！", "权限操作失败！"));
    setHandler(23, [this](const Reply& r) {
        if (r.status != 1)
            notice("权限验证失败！");
        else if (!batchQuiet())
            notice("权限验证通过！");
        return 0;
    });
    setHandler(kErrorReply, [this](const Reply& r) {
        notice(errorReplyText(r.status));
        return 0;
    });
}

} // namespace quorvane
