#pragma once
// The log viewer ("设备日志查看器") without its window: a controller's raw log memory browsed
// page by page from the local copy, each record that was not loaded yet read from the
// controller as the one 512-byte page that holds it; the whole log read at once ("下载到本地"),
// the local copy cleared or exported. The window and the command line both drive it; it
// speaks to the person through the session's port.
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/device_info.h"
#include "protocol/device_target.h"
#include "records/log_view_memory.h"
#include "records/log_view_rows.h"
#include "session/exchange.h"
#include "session/user_port.h"

namespace quorvane {

class ToolSession;

// A page read while a page is shown: a lost reply is asked once more, then the controller
// counts as unreachable for the rest of that page.
inline constexpr ExchangeLimits kViewerPageLimits{std::chrono::seconds(3), 2};

struct ViewerRow {
    std::uint32_t index = 0; // from 0; the sequence number shown is index + 1
    LogRecord record;
    std::array<std::string, kViewerColumnCount> columns;
};

class LogViewer {
  public:
    // images: the program's EEPROM and FLASH images, whose log areas the viewer uses.
    LogViewer(ToolSession& session, MemoryImages& images, DeviceUIInfo device,
              IdentityLookup identities);

    // The viewer's start: the cache file into the log areas (cleared without a usable file),
    // the filter from the settings, and the page past the last, so the first show clamps to it.
    void open();

    const DeviceUIInfo& device() const { return device_; }
    // "设备日志查看器（当前设备信息=名称:…）".
    std::string title() const;
    std::uint32_t count() const { return count_; }
    long pageCount() const { return viewerPageCount(count_); }
    long page() const { return page_; }

    // The page buttons. previousPage at the first page says "已经到第一页！", nextPage beyond the
    // last "已经到最后一页！"; jumpTo clamps to 1..pageCount(). Each then wants showPage().
    void firstPage() { page_ = 1; }
    void previousPage();
    void nextPage();
    void jumpTo(long page);

    bool cardOnly() const { return context_.cardOnly; }
    // The check box: remembered in the settings (remember false: for this run only).
    void setCardOnly(bool on, bool remember = true);

    // The rows of the current page (clamped first); records not loaded yet are read from the
    // controller, and the cache file is saved once when any page came.
    std::vector<ViewerRow> showPage();
    // "第%d页/共%d页,总计%d条,已上报%d条".
    std::string statusLine() const;

    // Record index (from 0), or nothing beyond the last. fetch, or a record not loaded yet:
    // its page is read from the controller first (exactly one read) and the cache saved.
    std::optional<LogRecord> viewerRecordAt(std::uint32_t index, bool fetch);
    std::string detailText(const LogRecord& record) const;
    // The number of a record's holder (the card field), which names the photo.
    std::string cardText(const LogRecord& record) const;

    // "下载到本地": every log page read as one batch with progress and Cancel, then the cache
    // saved ("操作成功！"). A kOperation… result.
    int download();
    // "清除本地缓存": both log areas cleared and the cache saved ("操作成功！").
    int clearCache();
    // "最后一页/刷新总数", before the window closes to be opened afresh: with
    // logView-clear-all-at-getlatest (default 1) the local copy is cleared and saved.
    void refreshTotal();
    // "导出记录": the rows of every loaded record (of a ring that has wrapped, those it still
    // holds) after a header line of the captions, tab-separated, GBK, to the file the person
    // picks ("操作成功！").
    int exportRecords();
    // The same rows to a named file; false after "保存文件失败！".
    bool exportTo(const std::string& path);

    std::string cacheFile() const { return cacheFile_; }

  private:
    // The one page that holds slot; false when no answer came.
    bool readPageOf(const LogSlot& slot);
    bool saveCache();

    ToolSession& session_;
    MemoryImages& images_;
    DeviceUIInfo device_;
    ViewerRowContext context_;
    std::uint32_t count_ = 0;
    long page_ = 1;
    std::string cacheFile_;
    std::optional<DeviceTarget> target_;
    bool showing_ = false;     // a page is being shown: its reads save the cache once at its end
    bool unreachable_ = false; // a read of this page went unanswered
    bool readAny_ = false;     // a page came since the cache was last saved
    std::optional<WinDisabler> busy_; // the window stays busy while pages are read
};

} // namespace quorvane
