#pragma once
// One run of pages through the batch runner: each page is one exchange asked again every 10 s
// until it is answered or the person cancels. A read stores each reply in its image only when
// it names the page asked for and fits that image; a write sends the pages a filter keeps.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "infra/clock.h"
#include "model/device_info.h"
#include "protocol/device_target.h"
#include "protocol/frame_sender.h"
#include "session/exchange.h"
#include "transfer/memory_images.h"

namespace quorvane {

class ToolSession;

// Whether a page must be sent: (is-EEPROM flag, address, length).
using PageFilter = std::function<bool(bool isEeprom, std::uint32_t address, std::uint32_t length)>;
// The progress text before a page: (page number, end page).
using PageProgress = std::function<std::string(long page, long end)>;

struct PageRun {
    MemoryType type = MemoryType::Eeprom;
    long first = 0;
    long end = 0;           // one past the last page
    std::uint32_t base = 0; // address of page 0 (the firmware base for firmware pages)
    PageFilter filter;      // writes only; empty: every page
    PageProgress progress;
    // Pause between pages (a broadcast upgrade lets every controller keep up).
    Clock::Duration pause = Clock::Duration::zero();
    int route = kRouteByDevice;
};

struct PageRunResult {
    int rc = -1;    // 0 every page answered; -1 not sent or cancelled; -2 refused by the controller
    long pages = 0; // pages answered
    long total = 0; // pages of the run
    bool cancelled = false;
    Clock::Duration elapsed{};
};

// The destination of page frames for a record: its own address, with the id of every
// controller in the frame. Nothing (after the reason is shown) when it has no address.
std::optional<DeviceTarget> pageTarget(ToolSession& session, const DeviceUIInfo& device);

// Reads the run's pages into images (page addresses from run.base).
PageRunResult readPages(ToolSession& session, const DeviceTarget& target, MemoryImages& images,
                        const PageRun& run);

// One page of one memory, by the address of its first byte.
struct PageRef {
    MemoryType type = MemoryType::Eeprom;
    std::uint32_t address = 0;
};
// The progress text before the i-th page of a list (from 0).
using PageListProgress = std::function<std::string(long index)>;

// Reads pages of any memories, in order, as one batch: one progress and one cancel for all of
// them. pageLimits: how long each page is waited for and asked again.
PageRunResult readPageList(ToolSession& session, const DeviceTarget& target, MemoryImages& images,
                           const std::vector<PageRef>& pages, const PageListProgress& progress,
                           const ExchangeLimits& pageLimits = limits::kPage);
// Writes the run's pages, page p taken from source at p x 512 (short data padded with zeros).
PageRunResult writePages(ToolSession& session, const DeviceTarget& target, Bytes source,
                         const PageRun& run);

// The summary a finished run leaves (session/batch_summary.h), operation naming it ("下载EEPROM").
void reportRun(ToolSession& session, const PageRunResult& result, const std::string& operation);

} // namespace quorvane
