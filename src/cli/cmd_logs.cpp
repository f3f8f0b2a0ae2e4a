// logs fetch|fill, ids fetch: the main window's group "从控制器提取日志数据" on one controller.
#include <ostream>
#include <random>
#include <sstream>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "device_selection.h"
#include "idcard/identity_fetch.h"
#include "idcard/photo_decode.h"
#include "json_output.h"
#include "json_report.h"
#include "records/fill_log.h"
#include "records/log_fetch.h"

namespace quorvane::cli {

namespace {

struct Range {
    std::uint32_t start = 0;
    std::uint32_t count = 0;
};

// --start (default 0) and --count (default get-rec-count, as the window's field starts).
std::optional<Range> rangeOf(CliContext& ctx) {
    long start = 0;
    long count = ctx.settings->readInt("options", "get-rec-count", 10);
    if (!numberOption(ctx, "--start", 0, 0xFFFFFFFFl, start) ||
        !numberOption(ctx, "--count", 0, 0xFFFFFFFFl, count))
        return std::nullopt;
    return Range{std::uint32_t(start), std::uint32_t(count)};
}

// One object per record: its index, the line, and the decoded fields.
nlohmann::ordered_json recordsDocument(const std::vector<ReceivedReply>& replies,
                                       const RecordDecodeOptions& options) {
    auto document = nlohmann::ordered_json::array();
    for (const ReceivedReply& reply : replies) {
        auto entry = reply.status == 1 ? LogEntry::decode(reply.payload) : std::nullopt;
        auto object = nlohmann::ordered_json::object();
        if (!entry) {
            object["error"] = "操作失败";
            document.push_back(std::move(object));
            continue;
        }
        RecordFieldMap fields;
        object["index"] = entry->sequence;
        object["line"] = decodeRecord(&fields, entry->record, entry->sequence, options);
        for (const auto& [key, value] : fields.entries())
            object[key] = value;
        document.push_back(std::move(object));
    }
    return document;
}

int printed(CliContext& ctx, const CommandFetchResult& result) {
    *ctx.out << result.text;
    return result.rc == 0 ? kOk : kFailed;
}

} // namespace

int cmdLogsFetch(CliContext& ctx) {
    auto range = rangeOf(ctx);
    if (!range)
        return kUsage;
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) -> int {
        if (!ctx.json)
            return range->count == 0
                       ? kOk
                       : printed(ctx, fetchRecords(s, *d, range->start, range->count));
        // The list of records is the document; no records asked is an empty one.
        CommandFetchResult result;
        result.rc = 0;
        if (range->count != 0)
            result = fetchRecords(s, *d, range->start, range->count);
        RecordDecodeOptions options;
        options.threeByte = s.settings().readInt("options", "force-3byte-card", 0) != 0;
        *ctx.out << jsonDocumentText(recordsDocument(result.replies, options)) << "\n";
        ctx.json->markPrinted();
        return result.rc == 0 ? kOk : kFailed;
    });
}

int cmdIdsFetch(CliContext& ctx) {
    auto range = rangeOf(ctx);
    if (!range)
        return kUsage;
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) -> int {
        PhotoDecoder photos(s.programDir(), readPhotoSettings(s.settings()), s.clock(),
                            [&s](const std::string& line) { s.log().writeLogLine(line); });
        const CommandFetchResult result =
            fetchIdentities(s, d, range->start, range->count, &photos);
        if (!ctx.json)
            return printed(ctx, result);
        // One line per document, as the text has them.
        auto lines = nlohmann::ordered_json::array();
        std::istringstream text(result.text);
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        ctx.json->document()["count"] = lines.size();
        ctx.json->document()["documents"] = std::move(lines);
        return result.rc == 0 ? kOk : kFailed;
    });
}

int cmdLogsFill(CliContext& ctx) {
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) -> int {
        std::random_device random;
        const std::uint32_t count = fillLogCount(s.settings().readInt("options", "fill-log-cnt", 1),
                                                 [&random] { return std::uint32_t(random()); });
        if (ctx.json)
            ctx.json->document()["count"] = count;
        return fillLog(s, d, count) == 0 ? kOk : kFailed;
    });
}

} // namespace quorvane::cli
