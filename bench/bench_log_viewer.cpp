// The log viewer against one simulated controller on loopback whose log ring is full
// (quorvane-sim with 651,520 records), end to end through a ToolSession on the system clock.
//
// BM_DownloadFullRing: "下载到本地" (the 8 pages of the EEPROM buffer and the 20,360 pages of
// the FLASH ring as one batch, then the 10 MB cache file saved), and the same pages read by
// the minimal stop-and-wait reader of page_reader.h in the same run. Three rounds each, taking
// turns; the best counts. Counters: pages, tool_seconds, baseline_seconds, ratio (tool /
// baseline).
//
// BM_OpenOnTheLastPage: the viewer opened and its last page shown, as the window opens it:
// without a cache file (the page read from the controller, the cache written) and with the
// cache file of a download present. Best of five each. Counters: cold_ms, cached_ms.
//
// Run: build/bench/bench_log_viewer
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "bench_support.h"
#include "page_reader.h"
#include "records/log_viewer.h"
#include "session/tool_session.h"

using namespace quorvane;
using quorvane::bench::BenchHome;
using quorvane::bench::BenchSim;
using quorvane::bench::secondsSince;
using quorvane::bench::SilentPort;
using quorvane::bench::stopAndWaitRead;
using SteadyClock = std::chrono::steady_clock;

namespace {

constexpr std::uint32_t kFullRing = kLogRingRecords;

// One controller with a full ring, a started session and its refreshed record.
struct FullRing {
    explicit FullRing(const char* name)
        : home(name, 42000 + static_cast<int>(::getpid() % 5000)),
          sim({"--count", "1", "--port", std::to_string(home.port), "--logs",
               std::to_string(kFullRing)}),
          session(home.dir, user) {
        session.start();
        session.log().setEcho(false);
        device = session.refreshDevice("127.0.0.1", 5000);
    }
    ~FullRing() { session.stop(); }
    BenchHome home;
    BenchSim sim;
    SilentPort user;
    ToolSession session;
    std::optional<DeviceUIInfo> device;
    MemoryImages images;
};

// The baseline: the same pages, area by area.
long baselineRead(std::uint16_t port, MemoryImages& images) {
    const long eeprom = kLogBufferAddress / kPageBytes;
    const long flash = kLogRingAddress / kPageBytes;
    return stopAndWaitRead("127.0.0.1", port, MemoryType::Eeprom, eeprom,
                           eeprom + long(kLogBufferBytes / kPageBytes), images.eeprom) +
           stopAndWaitRead("127.0.0.1", port, MemoryType::Flash, flash,
                           flash + long(kLogRingBytes / kPageBytes), images.flash);
}

void BM_DownloadFullRing(benchmark::State& state) {
    FullRing r("viewer-download");
    if (!r.device) {
        state.SkipWithError("the simulated controller did not answer");
        return;
    }
    for (auto _ : state) {
        double tool = 1e9, baseline = 1e9;
        long pages = 0;
        for (int round = 0; round < 3; ++round) {
            LogViewer viewer(r.session, r.images, *r.device, {});
            viewer.open();
            auto t0 = SteadyClock::now();
            if (viewer.download() != 0) {
                state.SkipWithError("the download failed");
                return;
            }
            tool = std::min(tool, secondsSince(t0));
            MemoryImages copy;
            t0 = SteadyClock::now();
            pages = baselineRead(static_cast<std::uint16_t>(r.home.port), copy);
            baseline = std::min(baseline, secondsSince(t0));
        }
        state.counters["pages"] = static_cast<double>(pages);
        state.counters["tool_seconds"] = tool;
        state.counters["baseline_seconds"] = baseline;
        state.counters["ratio"] = tool / baseline;
    }
}

void BM_OpenOnTheLastPage(benchmark::State& state) {
    FullRing r("viewer-open");
    if (!r.device) {
        state.SkipWithError("the simulated controller did not answer");
        return;
    }
    auto openLast = [&r] {
        const auto t0 = SteadyClock::now();
        LogViewer viewer(r.session, r.images, *r.device, {});
        viewer.open();
        auto rows = viewer.showPage();
        benchmark::DoNotOptimize(rows);
        return secondsSince(t0) * 1000;
    };
    for (auto _ : state) {
        double cold = 1e9, cached = 1e9;
        const std::string cache = recordCacheFile(r.home.dir, r.device->getTargetId());
        for (int round = 0; round < 5; ++round) {
            std::filesystem::remove(cache);
            cold = std::min(cold, openLast());
        }
        LogViewer whole(r.session, r.images, *r.device, {});
        whole.open();
        whole.download();
        for (int round = 0; round < 5; ++round)
            cached = std::min(cached, openLast());
        state.counters["cold_ms"] = cold;
        state.counters["cached_ms"] = cached;
    }
}

} // namespace

BENCHMARK(BM_DownloadFullRing)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenOnTheLastPage)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
