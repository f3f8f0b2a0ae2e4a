#include "transfer/page_run.h"

#include <algorithm>

#include "session/batch_summary.h"
#include "session/tool_session.h"
#include "transfer/page_frames.h"

namespace quorvane {

namespace {
constexpr std::uint8_t kPageReply = page_command::kReadPage + 1;

std::uint32_t addressOf(const PageRun& run, long page) {
    return run.base + static_cast<std::uint32_t>(page) * kPageBytes;
}

BatchPlan planFor(const PageRun& run, const std::vector<long>& pages, long& current) {
    BatchPlan plan;
    plan.total = static_cast<long>(pages.size());
    plan.limits = limits::kPage;
    plan.quietNotices = true;
    plan.progressText = [&run, &current](long, long) {
        return run.progress ? run.progress(current, run.end) : std::string();
    };
    return plan;
}

std::vector<long> pagesOf(const PageRun& run) {
    std::vector<long> pages;
    for (long p = run.first; p < run.end; ++p)
        if (!run.filter ||
            run.filter(run.type == MemoryType::Eeprom, addressOf(run, p), kPageBytes))
            pages.push_back(p);
    return pages;
}

PageRunResult finish(const BatchResult& batch, bool refused, long total,
                     const BatchStopwatch& stopwatch) {
    PageRunResult result;
    result.pages = batch.answered;
    result.total = total;
    result.elapsed = stopwatch.elapsed();
    result.cancelled = batch.cancelled;
    result.rc = refused ? -2 : (batch.cancelled || !batch.givenUp.empty()) ? -1 : 0;
    return result;
}
} // namespace

std::optional<DeviceTarget> pageTarget(ToolSession& session, const DeviceUIInfo& device) {
    auto target = session.prepareDevAddress(device.ip, &device);
    if (target)
        target->targetId = 0xFFFF;
    return target;
}

PageRunResult readPages(ToolSession& session, const DeviceTarget& target, MemoryImages& images,
                        const PageRun& run) {
    const std::vector<long> pages = pagesOf(run);
    std::vector<PageRef> list;
    for (long p : pages)
        list.push_back(PageRef{run.type, addressOf(run, p)});
    return readPageList(session, target, images, list, [&](long i) {
        return run.progress ? run.progress(pages[static_cast<std::size_t>(i)], run.end)
                            : std::string();
    });
}

PageRunResult readPageList(ToolSession& session, const DeviceTarget& target, MemoryImages& images,
                           const std::vector<PageRef>& pages, const PageListProgress& progress,
                           const ExchangeLimits& pageLimits) {
    const BatchStopwatch stopwatch(session.clock());
    bool refused = false;
    long current = 0;
    BatchPlan plan;
    plan.total = static_cast<long>(pages.size());
    plan.limits = pageLimits;
    plan.quietNotices = true;
    // Before each page, and once after the batch (naming the last page asked for).
    plan.progressText = [&](long, long) { return progress ? progress(current) : std::string(); };
    ReplyDispatcher& dispatcher = session.dispatcher();
    plan.next = [&](long i) -> std::optional<ExchangeRequest> {
        if (i >= static_cast<long>(pages.size()))
            return std::nullopt;
        current = i;
        const PageRef& ref = pages[static_cast<std::size_t>(i)];
        const auto type = static_cast<std::uint32_t>(ref.type);
        const std::uint32_t address = ref.address;
        ExchangeRequest request;
        request.target = target;
        request.command = page_command::kReadPage;
        request.payload = readPagePayload(address, type);
        // Only the page asked for answers; one that would land outside its image is dropped
        // and logged, and the page is asked again.
        request.accept = [&images, &dispatcher, address, type](const Reply& r) {
            auto page = readPageReply(r.payload);
            if (!page)
                return false;
            PagePlace place = placeOfPage(images, *page);
            if (!place.refusal.empty()) {
                dispatcher.logLine("page reply dropped: " + place.refusal + "\n");
                return false;
            }
            return page->address == address && page->type == type;
        };
        return request;
    };
    plan.answered = [&](long, const ReceivedReply& reply) {
        auto page = readPageReply(reply.payload);
        if (reply.code != kPageReply || !page || !storePage(images, *page)) {
            refused = true;
            return false;
        }
        return true;
    };
    return finish(session.batchRunner().run(plan), refused, plan.total, stopwatch);
}

PageRunResult writePages(ToolSession& session, const DeviceTarget& target, Bytes source,
                         const PageRun& run) {
    const BatchStopwatch stopwatch(session.clock());
    const std::vector<long> pages = pagesOf(run);
    long current = run.first;
    BatchPlan plan = planFor(run, pages, current);
    Clock& clock = session.clock();
    plan.next = [&](long i) -> std::optional<ExchangeRequest> {
        if (i >= static_cast<long>(pages.size()))
            return std::nullopt;
        if (i > 0 && run.pause > Clock::Duration::zero())
            clock.sleepFor(run.pause);
        current = pages[static_cast<std::size_t>(i)];
        std::uint8_t page[kPageBytes] = {};
        const std::size_t at = static_cast<std::size_t>(current) * kPageBytes;
        if (at < source.size())
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(at),
                        std::min<std::size_t>(kPageBytes, source.size() - at), page);
        ExchangeRequest request;
        request.target = target;
        request.command = page_command::kWritePage;
        request.route = run.route;
        request.payload =
            writePagePayload(addressOf(run, current), static_cast<std::uint32_t>(run.type), page);
        return request;
    };
    return finish(session.batchRunner().run(plan), false, plan.total, stopwatch);
}

void reportRun(ToolSession& session, const PageRunResult& result, const std::string& operation) {
    BatchSummary summary;
    summary.operation = operation;
    summary.total = result.total;
    summary.succeeded = result.pages;
    // A refusal ends the run on the page refused; silence never does (pages are asked again).
    summary.failed = result.rc == -2 ? 1 : 0;
    summary.cancelled = result.cancelled;
    summary.elapsed = result.elapsed;
    session.port().showMessage(batchSummaryText(summary));
}

} // namespace quorvane
