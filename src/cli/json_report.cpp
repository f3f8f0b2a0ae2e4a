#include "json_report.h"

#include <algorithm>
#include <ostream>

#include "json_output.h"
#include "rights/right_batch.h"
#include "session/batch_runner.h"

namespace quorvane::cli {

namespace {

const char* reasonOf(RightFailure why) {
    switch (why) {
    case RightFailure::Refused:
        return "refused";
    case RightFailure::Unanswered:
        return "unanswered";
    case RightFailure::NotACard:
        return "invalid";
    case RightFailure::NotSent:
        break;
    }
    return "stopped";
}

} // namespace

JsonReport::JsonReport(std::string command) {
    document_["command"] = std::move(command);
    // Placed here so that they lead the document; finish() fills them in.
    document_["ok"] = false;
    document_["exit"] = 0;
}

void JsonReport::finish(std::ostream& out, int exitCode, const std::vector<std::string>& shown) {
    if (printed_)
        return;
    document_["ok"] = exitCode == 0;
    document_["exit"] = exitCode;
    document_["messages"] = shown;
    out << jsonDocumentText(document_) << '\n' << std::flush;
    printed_ = true;
}

void putBatch(nlohmann::ordered_json& document, long total, long succeeded, bool cancelled,
              const std::vector<FailedItem>& failures) {
    auto count = [&failures](std::string_view reason) {
        return static_cast<long>(
            std::count_if(failures.begin(), failures.end(),
                          [reason](const FailedItem& f) { return f.reason == reason; }));
    };
    const long unanswered = count("unanswered");
    const long failed = count("refused") + count("invalid");
    document["total"] = total;
    document["done"] = succeeded + failed + unanswered;
    document["succeeded"] = succeeded;
    document["failed"] = failed;
    document["unanswered"] = unanswered;
    document["cancelled"] = cancelled;
    auto list = nlohmann::ordered_json::array();
    for (const FailedItem& f : failures)
        list.push_back({{"item", f.item}, {"reason", f.reason}});
    document["failures"] = std::move(list);
}

void putBatch(nlohmann::ordered_json& document, const BatchResult& batch,
              const std::vector<std::string>& names) {
    std::vector<FailedItem> failures;
    const auto listed = [](const std::vector<long>& items, std::size_t i) {
        return std::find(items.begin(), items.end(), static_cast<long>(i)) != items.end();
    };
    const long stoppedFrom = batch.lastItemUnsettled() ? batch.items - 1 : batch.items;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (listed(batch.givenUp, i))
            failures.push_back({names[i], "unanswered"});
        else if (listed(batch.refused, i))
            failures.push_back({names[i], "refused"});
        else if (static_cast<long>(i) >= stoppedFrom)
            failures.push_back({names[i], "stopped"});
    }
    putBatch(document, static_cast<long>(names.size()), batch.succeeded, batch.cancelled, failures);
}

void putBatch(nlohmann::ordered_json& document, const RightBatchResult& batch) {
    std::vector<FailedItem> failures;
    for (std::size_t i = 0; i < batch.failed.size() && i < batch.failedWhy.size(); ++i)
        failures.push_back({batch.failed[i], reasonOf(batch.failedWhy[i])});
    putBatch(document, batch.cards, batch.done, batch.cancelled, failures);
    if (!batch.failureFile.empty())
        document["failureFile"] = batch.failureFile;
}

} // namespace quorvane::cli
