// Search of many simulated controllers end to end (quorvane-sim on loopback, the tool's channel,
// reply handler and device list), and the list insertion alone.
//
// The end-to-end run takes the controller count and the simulator's reply rate (0: no limit, every
// controller answers at once, as a burst). Counters: listed (must equal the controllers),
// ordered (1 when the list is in address order), to_last_row_ms (from sending the search to the
// last row entering the list), snapshot_us (copy of the final list for the redraw).
#include <benchmark/benchmark.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <poll.h>
#include <unistd.h>

#include "bench_support.h"
#include "model/device_info.h"
#include "session/device_list.h"
#include "session/tool_session.h"

using namespace quorvane;
using quorvane::bench::BenchSim;
using quorvane::bench::SilentPort;
using SteadyClock = std::chrono::steady_clock;

namespace {

void BM_SearchEndToEnd(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int rate = static_cast<int>(state.range(1));
    const int port = 40000 + static_cast<int>(::getpid() % 5000);
    const std::string home =
        (std::filesystem::temp_directory_path() / ("quorvane-bench-" + std::to_string(::getpid())))
            .string();
    std::filesystem::create_directories(home);
    std::ofstream(home + "/config.ini")
        << "[net]\ncommon-dev-admin-port=" << port
        << "\ncommon-broadcast-address=2147483647\nenable-mcast=0\nenable-pipe=0\n";
    std::vector<std::string> options = {"--count", std::to_string(count), "--port",
                                        std::to_string(port)};
    if (rate > 0)
        options.insert(options.end(), {"--rate", std::to_string(rate)});
    BenchSim sim(options);

    for (auto _ : state) {
        SilentPort userPort;
        ToolSession session(home, userPort);
        session.log().setEcho(false);
        session.start();
        std::atomic<std::size_t> rows{0};
        std::atomic<std::int64_t> lastRowNs{0};
        std::mutex m;
        std::condition_variable changed;
        session.setListChangedCallback([&] {
            lastRowNs = SteadyClock::now().time_since_epoch().count();
            {
                std::lock_guard l(m);
                rows = session.devices().size();
            }
            changed.notify_all();
        });
        SearchRequest request;
        request.searchAddress = 0x7FFFFFFF;
        request.port = static_cast<std::uint16_t>(port);
        request.remember = false;
        const auto sent = SteadyClock::now();
        session.search(request);
        // Until every controller is listed, or no row came for two seconds.
        {
            std::unique_lock l(m);
            for (std::size_t seen = rows.load(); seen < static_cast<std::size_t>(count);
                 seen = rows.load())
                if (!changed.wait_for(l, std::chrono::seconds(2),
                                      [&] { return rows.load() != seen; }))
                    break;
        }
        auto t0 = SteadyClock::now();
        auto list = session.devices().snapshot();
        auto snapshotUs =
            std::chrono::duration<double, std::micro>(SteadyClock::now() - t0).count();
        session.stop();
        bool ordered = std::is_sorted(list.begin(), list.end(), [](const auto& a, const auto& b) {
            return deviceLess(a, b, 1);
        });
        const auto last = SteadyClock::time_point(SteadyClock::duration(lastRowNs.load()));
        state.counters["listed"] = static_cast<double>(list.size());
        state.counters["ordered"] = ordered ? 1 : 0;
        state.counters["to_last_row_ms"] =
            lastRowNs.load() ? std::chrono::duration<double, std::milli>(last - sent).count() : 0;
        state.counters["snapshot_us"] = snapshotUs;
    }
    std::filesystem::remove_all(home);
}
// {controllers, replies per second (0: all at once)}
BENCHMARK(BM_SearchEndToEnd)
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Args({10000, 20000})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The list insertion alone: n replies of distinct controllers in random arrival order.
void BM_AddSearchReply(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<DeviceUIInfo> records(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        auto& r = records[static_cast<std::size_t>(i)];
        std::uint32_t a = 0x0A000001u + static_cast<std::uint32_t>(i);
        r.ip = std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 255) + "." +
               std::to_string((a >> 8) & 255) + "." + std::to_string(a & 255);
        r.mac = "00.1a.2b.00." + std::to_string((i >> 8) & 255) + "." + std::to_string(i & 255);
        r.searchModes = kFoundByBroadcast;
    }
    std::srand(7);
    for (std::size_t i = records.size(); i > 1; --i)
        std::swap(records[i - 1], records[static_cast<std::size_t>(std::rand()) % i]);
    for (auto _ : state) {
        DeviceList list(DeviceListOptions{true, 1, false});
        for (const auto& r : records)
            list.addSearchReply(r);
        benchmark::DoNotOptimize(list.size());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AddSearchReply)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
