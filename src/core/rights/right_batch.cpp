#include "rights/right_batch.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "protocol/reply_dispatch.h"
#include "rights/right_frames.h"
#include "rights/right_result_files.h"
#include "session/batch_summary.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {

struct KindTexts {
    std::uint8_t command;
    const char* progress; // card (from 1), cards, cards given up so far
    std::string_view failureFile;
    const char* operation; // the summary's name of the batch
};

KindTexts textsOf(RightBatchKind kind) {
    switch (kind) {
    case RightBatchKind::Add:
        return {right_command::kAdd, "正在添加权限(%ld/%ld,超时%ld)", kAddFailuresFile, "添加权限"};
    case RightBatchKind::Remove:
        return {right_command::kRemove, "正在删除权限(%ld/%ld,超时%ld)", kRemoveFailuresFile,
                "删除权限"};
    case RightBatchKind::Check:
        return {right_command::kCheck, "正在检查权限(%ld/%ld,超时%ld)", kCheckFailuresFile,
                "检查权限"};
    }
    return {0, "", {}, ""};
}

// Waiting: not sent (or not answered) when the list was stopped.
enum class CardState : char { Waiting, Done, NotACard, Refused, Unanswered };

RightFailure failureOf(CardState state) {
    switch (state) {
    case CardState::NotACard:
        return RightFailure::NotACard;
    case CardState::Refused:
        return RightFailure::Refused;
    case CardState::Unanswered:
        return RightFailure::Unanswered;
    default:
        return RightFailure::NotSent;
    }
}

// "添加权限失败清单.txt" with the tag before its ".txt".
std::string taggedName(std::string_view name, const std::string& tag) {
    std::string text(name);
    const std::size_t dot = text.rfind('.');
    return tag.empty() || dot == std::string::npos ? text : text.insert(dot, tag);
}

} // namespace

RightBatchResult runRightBatch(ToolSession& session, const DeviceUIInfo& device,
                               RightBatchKind kind, const std::vector<RightItem>& items,
                               const RightBatchOptions& options) {
    RightBatchResult result;
    const BatchStopwatch stopwatch(session.clock());
    result.cards = static_cast<long>(items.size());
    auto target = session.prepareDevAddress(device.ip, &device);
    if (!target)
        return result;

    const KindTexts texts = textsOf(kind);
    const bool several = items.size() > 1;
    UserPort& port = session.port();
    if (kind == RightBatchKind::Check)
        session.dispatcher().setBatchQuiet(several);
    WinDisabler busy(port);
    std::optional<GrantLog> grants;
    if (kind == RightBatchKind::Add)
        grants.emplace(session);

    // Texts that are no card are never sent; the batch runs over the others.
    std::vector<CardState> states(items.size(), CardState::Waiting);
    std::vector<std::size_t> sent;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].payload.empty())
            states[i] = CardState::NotACard;
        else
            sent.push_back(i);
    }

    long answered = 0;
    BatchPlan plan;
    plan.total = static_cast<long>(sent.size());
    plan.limits = limits::kRight;
    plan.onGiveUp = GiveUp::NextItem;
    plan.quietNotices = several;
    plan.finishInFlight = true;
    plan.next = [&](long i) -> std::optional<ExchangeRequest> {
        if (i >= plan.total)
            return std::nullopt;
        ExchangeRequest request;
        request.target = *target;
        request.command = texts.command;
        request.payload = items[sent[static_cast<std::size_t>(i)]].payload;
        return request;
    };
    plan.answered = [&](long i, const ReceivedReply& reply) {
        ++answered;
        std::size_t item = sent[static_cast<std::size_t>(i)];
        // A controller that refuses a card (or answers with the general error reply) has not
        // taken it: it goes on the failure list, not into the grant log.
        bool ok = reply.code == texts.command + 1 && reply.status == 1;
        states[item] = ok ? CardState::Done : CardState::Refused;
        if (ok && grants)
            grants->record(items[item].card);
        return true;
    };
    plan.progressText = [&](long done, long total) {
        char text[96];
        std::snprintf(text, sizeof text, texts.progress, std::min(done + 1, total), total,
                      done - answered);
        return std::string(text);
    };
    BatchResult batch = session.batchRunner().run(plan);

    for (long i : batch.givenUp)
        states[sent[static_cast<std::size_t>(i)]] = CardState::Unanswered;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (states[i] == CardState::Done)
            ++result.done;
        // After a cancel the cards not sent (or not answered) are not done either: listing
        // them lets the person run the rest later.
        if (states[i] != CardState::Done) {
            result.failed.push_back(items[i].card);
            result.failedWhy.push_back(failureOf(states[i]));
        }
    }
    result.resends = batch.resends;
    result.cancelled = batch.cancelled;
    result.rc = result.failed.empty() ? 0 : -1;

    if (!result.failed.empty())
        if (auto path = writeResultList(
                session, taggedName(texts.failureFile, options.failureFileTag), result.failed))
            result.failureFile = *path;
    BatchSummary summary;
    summary.operation = texts.operation;
    summary.total = result.cards;
    summary.succeeded = result.done;
    summary.failed = result.refused();
    summary.unanswered = result.unanswered();
    summary.cancelled = result.cancelled;
    summary.failureFile = result.failureFile;
    summary.elapsed = stopwatch.elapsed();
    result.summary = batchSummaryText(summary);
    if (!options.report)
        return result;
    if (!result.failureFile.empty())
        port.openDocument(result.failureFile, false);
    // One card that was answered has said how it went in its notice.
    if (several || result.cancelled || answered < result.cards)
        port.showMessage(result.summary);
    return result;
}

} // namespace quorvane
