#include "records/command_fetch.h"

#include <algorithm>
#include <climits>
#include <optional>

#include "infra/codepage.h"
#include "platform/files.h"
#include "protocol/reply_dispatch.h"
#include "session/batch_summary.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
// The reply notices as the fetch wants them for its scope, and as they were afterwards.
class NoticesFor {
  public:
    NoticesFor(ReplyDispatcher& d, bool on) : d_(d), was_(d.noticesEnabled()) {
        d_.setNoticesEnabled(on);
    }
    ~NoticesFor() { d_.setNoticesEnabled(was_); }
    NoticesFor(const NoticesFor&) = delete;
    NoticesFor& operator=(const NoticesFor&) = delete;

  private:
    ReplyDispatcher& d_;
    bool was_;
};

std::string progressLine(const std::string& pattern, long done, long total) {
    std::string text = pattern;
    auto at = text.find("%ld/%ld");
    if (at != std::string::npos)
        text.replace(at, 7, std::to_string(done) + "/" + std::to_string(total));
    return text;
}
} // namespace

std::vector<std::uint8_t> rangePayload(std::uint32_t start, std::uint32_t count) {
    std::vector<std::uint8_t> p(8);
    ByteWriter(p).putU32le(start).putU32le(start + count);
    return p;
}

CommandFetchResult fetchByCommand(ToolSession& session, const DeviceUIInfo& device,
                                  const CommandFetchPlan& plan, ReplyTextBuffer& buffer) {
    CommandFetchResult result;
    auto target = session.prepareDevAddress(device.ip, &device);
    if (!target)
        return result;
    UserPort& port = session.port();

    ExchangeRequest request;
    request.target = *target;
    request.command = plan.command;
    request.payload = rangePayload(plan.start, plan.count);
    request.pipeReplies = static_cast<int>(std::min<std::uint32_t>(plan.count, INT_MAX));
    request.pipeTimeoutMs = plan.pipeTimeoutMs;

    // Subscribed before the send, so that a quick first reply is not missed. The replies keep
    // their standard handling: it writes each line into the buffer before the wait wakes.
    ReplyInterest interest;
    interest.codes = {request.expectedReply()};
    interest.accept = [t = *target](const Reply& r) { return t.acceptsSender(r.source, r.viaUdp); };
    ReplySubscription subscription(session.dispatcher(), std::move(interest));

    NoticesFor notices(session.dispatcher(), plan.notices);
    std::optional<WinDisabler> busy;
    if (plan.waitCursor)
        busy.emplace(port);
    buffer.clear();

    const BatchStopwatch stopwatch(session.clock());
    ExchangeOutcome sent = session.exchange().run(request, limits::kSendOnly);
    if (sent.kind == ExchangeOutcome::Kind::Sent) {
        auto pump = [&port] { port.pumpEvents(); };
        auto cancel = [&port] { return port.cancelRequested(); };
        while (result.replies.size() < plan.count) {
            if (!plan.progressText.empty())
                port.progress(
                    progressLine(plan.progressText, long(result.replies.size()), long(plan.count)),
                    long(result.replies.size()), long(plan.count));
            auto reply = subscription.slot().take(session.clock(), plan.silence, pump, cancel);
            if (!reply)
                break;
            result.replies.push_back(std::move(*reply));
        }
        result.cancelled = port.cancelRequested();
    }
    busy.reset();

    result.text = buffer.text();
    if (result.text.empty()) {
        result.rc = -2;
        port.showMessage("没有返回数据");
        return result;
    }
    result.rc = 0;
    if (!plan.fileName.empty()) {
        // A file that cannot be written is passed over: the text is still returned.
        std::string path = session.programDir() + "/" + plan.fileName;
        if (platform::replaceFile(path, toGbk(result.text))) {
            result.file = path;
            port.openDocument(path, false);
        }
    }
    // The fetch of one index ends with its notice; a longer one says how many came, whether a
    // viewer opened the file or not, and whether the controller fell silent before the end.
    if (plan.count > 1 && !plan.operation.empty()) {
        BatchSummary summary;
        summary.operation = plan.operation;
        summary.total = static_cast<long>(plan.count);
        for (const ReceivedReply& r : result.replies)
            ++(r.status == 1 ? summary.succeeded : summary.failed);
        summary.cancelled = result.cancelled;
        if (!result.cancelled)
            summary.unanswered = summary.total - summary.succeeded - summary.failed;
        if (!result.file.empty())
            summary.itemLines.push_back("已保存到：" + result.file);
        summary.elapsed = stopwatch.elapsed();
        port.showMessage(batchSummaryText(summary));
    }
    return result;
}

} // namespace quorvane
