#include "records/log_viewer.h"

#include <algorithm>
#include <cstdio>

#include "infra/codepage.h"
#include "infra/settings.h"
#include "model/config_field.h"
#include "model/config_table.h"
#include "platform/files.h"
#include "session/operation_result.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
// Opening shows the last page: any page past it clamps there.
constexpr long kPastLastPage = 999999999;

std::uint32_t doorNumber(const DeviceUIInfo& device, const char* key) {
    return readNumber(configField(key), device.doorConfig);
}

// The progress of a page read, as the memory reads word it: the page within its memory and
// the end of the log area it lies in.
std::string pageProgressText(const PageRef& ref) {
    const bool eeprom = ref.type == MemoryType::Eeprom;
    const long end = eeprom ? long((kLogBufferAddress + kLogBufferBytes) / kPageBytes)
                            : long((kLogRingAddress + kLogRingBytes) / kPageBytes);
    char text[64];
    std::snprintf(text, sizeof text,
                  eeprom ? "正在下载EEPROM(%ld/%ld)..." : "正在下载FLASH(%ld/%ld)...",
                  long(ref.address / kPageBytes), end);
    return text;
}
} // namespace

LogViewer::LogViewer(ToolSession& session, MemoryImages& images, DeviceUIInfo device,
                     IdentityLookup identities)
    : session_(session), images_(images), device_(std::move(device)) {
    context_.identities = std::move(identities);
    count_ = doorNumber(device_, "logCount");
    context_.reportIndex = doorNumber(device_, "reportIndex");
    cacheFile_ = recordCacheFile(session_.programDir(), device_.getTargetId());
}

void LogViewer::open() {
    const Settings& s = session_.settings();
    context_.cardOnly = s.readInt(kCardOnlySection, kCardOnlyKey, 0) != 0;
    loadRecordCache(cacheFile_, images_);
    page_ = kPastLastPage;
}

std::string LogViewer::title() const {
    return "设备日志查看器（当前设备信息=名称:" + device_.name +
           "，设备标志/组号序号:" + std::to_string(device_.getTargetId()) + "，IP:" + device_.ip +
           "，产品序号:" + device_.getGlobalId() + "）";
}

void LogViewer::previousPage() {
    page_ = std::min(page_, pageCount()) - 1;
    if (page_ < 1) {
        page_ = 1;
        session_.port().showMessage("已经到第一页！");
    }
}

void LogViewer::nextPage() {
    page_ = std::min(page_, pageCount()) + 1;
    if (page_ > pageCount()) {
        page_ = pageCount();
        session_.port().showMessage("已经到最后一页！");
    }
}

void LogViewer::jumpTo(long page) {
    page_ = std::clamp(page, 1L, pageCount());
}

void LogViewer::setCardOnly(bool on, bool remember) {
    context_.cardOnly = on;
    if (remember)
        session_.settings().writeString(kCardOnlySection, kCardOnlyKey, on ? "1" : "0");
}

std::vector<ViewerRow> LogViewer::showPage() {
    page_ = std::clamp(page_, 1L, pageCount());
    context_.decode.threeByte = session_.settings().readInt("options", "force-3byte-card", 0) != 0;
    showing_ = true;
    unreachable_ = false;
    std::vector<ViewerRow> rows;
    const std::uint64_t first = std::uint64_t(page_ - 1) * kViewerPageRecords;
    for (std::uint64_t i = first; i < first + kViewerPageRecords && i < count_; ++i) {
        auto index = static_cast<std::uint32_t>(i);
        if (auto record = viewerRecordAt(index, false))
            rows.push_back({index, *record, viewerRow(*record, index, context_)});
    }
    showing_ = false;
    if (readAny_)
        saveCache();
    busy_.reset();
    return rows;
}

std::string LogViewer::statusLine() const {
    char text[128];
    std::snprintf(text, sizeof text, "第%ld页/共%ld页,总计%u条,已上报%ld条",
                  std::clamp(page_, 1L, pageCount()), pageCount(), count_,
                  long(context_.reportIndex) - 1);
    return text;
}

std::optional<LogRecord> LogViewer::viewerRecordAt(std::uint32_t index, bool fetch) {
    if (index >= count_)
        return std::nullopt;
    const LogSlot slot = viewerSlot(index, count_);
    if (!fetch && recordLoaded(images_, slot))
        return recordAtSlot(images_, slot);
    if (!showing_)
        unreachable_ = false;
    if (!unreachable_ && !readPageOf(slot))
        unreachable_ = true;
    if (!showing_) {
        if (readAny_)
            saveCache();
        busy_.reset();
    }
    return recordAtSlot(images_, slot);
}

std::string LogViewer::detailText(const LogRecord& record) const {
    return viewerDetailText(record, context_);
}

std::string LogViewer::cardText(const LogRecord& record) const {
    RecordFieldMap fields;
    decodeRecord(&fields, record, 0, context_.decode);
    return std::string(fields.get("card"));
}

bool LogViewer::readPageOf(const LogSlot& slot) {
    if (!target_)
        target_ = pageTarget(session_, device_);
    if (!target_)
        return false;
    if (!busy_)
        busy_.emplace(session_.port());
    const PageRef ref{slot.type, slot.address / kPageBytes * kPageBytes};
    PageRunResult r = readPageList(
        session_, *target_, images_, {ref}, [&ref](long) { return pageProgressText(ref); },
        kViewerPageLimits);
    readAny_ = readAny_ || r.rc == 0;
    return r.rc == 0;
}

bool LogViewer::saveCache() {
    readAny_ = false;
    return saveRecordCache(&session_.log(), cacheFile_, images_);
}

int LogViewer::download() {
    auto target = pageTarget(session_, device_);
    if (!target)
        return kOperationFailed;
    PageRunResult r;
    {
        WinDisabler busy(session_.port());
        const std::vector<PageRef> pages = logDownloadPages(count_);
        r = readPageList(session_, *target, images_, pages, [&pages](long i) {
            return pageProgressText(pages[static_cast<std::size_t>(i)]);
        });
    }
    // What came is kept, also when the person stopped the download.
    const bool saved = saveCache();
    UserPort& port = session_.port();
    if (r.rc != 0) {
        port.showMessage(r.cancelled ? "操作已取消！" : "操作失败！");
        return kOperationFailed;
    }
    port.showMessage(saved ? "操作成功！" : "保存文件失败！");
    return saved ? kOperationDone : kOperationFailed;
}

int LogViewer::clearCache() {
    clearLogAreas(images_);
    const bool saved = saveCache();
    session_.port().showMessage(saved ? "操作成功！" : "保存文件失败！");
    return saved ? kOperationDone : kOperationFailed;
}

void LogViewer::refreshTotal() {
    if (session_.settings().readInt("common", "logView-clear-all-at-getlatest", 1) == 0)
        return;
    clearLogAreas(images_);
    saveCache();
}

int LogViewer::exportRecords() {
    char name[32];
    std::snprintf(name, sizeof name, "logView-%05d.txt", device_.getTargetId());
    auto path =
        session_.port().pickSaveFile(".txt", "TXT Files(*.txt)|*.txt|All Files(*.*)|*.*||", name);
    if (!path)
        return kOperationDeclined;
    if (!exportTo(*path))
        return kOperationFailed;
    session_.port().showMessage("操作成功！");
    return kOperationDone;
}

bool LogViewer::exportTo(const std::string& path) {
    context_.decode.threeByte = session_.settings().readInt("options", "force-3byte-card", 0) != 0;
    std::string text;
    for (const ViewerColumn& c : kViewerColumns)
        text += toGbk(c.caption) + (&c == &kViewerColumns.back() ? "\r\n" : "\t");
    // Once the ring has wrapped, its slots hold only the newest 651,520 records.
    const std::uint32_t first = count_ > kLogRingRecords ? count_ - kLogRingRecords : 0;
    for (std::uint32_t i = first; i < count_; ++i) {
        const LogSlot slot = viewerSlot(i, count_);
        if (!recordLoaded(images_, slot))
            continue;
        const auto row = viewerRow(recordAtSlot(images_, slot), i, context_);
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c)
            line += row[c] + (c + 1 < row.size() ? "\t" : "\r\n");
        text += toGbk(line);
    }
    platform::makeDirectories(platform::parentDirectory(path));
    if (platform::replaceFile(path, text))
        return true;
    session_.port().showMessage("保存文件失败！");
    return false;
}

} // namespace quorvane
