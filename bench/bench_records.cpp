// Records fetched by command from one simulated controller on loopback (quorvane-sim with
// 1,000 log records), end to end through a ToolSession on the system clock: one request 48
// for the whole range, the controller answering once per record, each reply decoded into the
// fetch's text by the reply handler and waking the wait. Five rounds; the best counts.
// Counters: records (of the best round), records_per_s.
//
// Run: build/bench/bench_records
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "bench_support.h"
#include "records/log_fetch.h"
#include "session/tool_session.h"

using namespace quorvane;
using quorvane::bench::BenchHome;
using quorvane::bench::BenchSim;
using quorvane::bench::SilentPort;
using SteadyClock = std::chrono::steady_clock;

namespace {

constexpr std::uint32_t kRecords = 1000;
constexpr int kRounds = 5;

void BM_FetchRecords(benchmark::State& state) {
    // The text goes to the history file, as the window keeps it; nothing opens it here.
    BenchHome home("records", 40000 + static_cast<int>(::getpid() % 5000));
    BenchSim sim(
        {"--count", "1", "--port", std::to_string(home.port), "--logs", std::to_string(kRecords)});
    for (auto _ : state) {
        SilentPort user;
        ToolSession session(home.dir, user);
        session.start();
        session.log().setEcho(false);
        auto device = session.refreshDevice("127.0.0.1", 5000);
        if (!device) {
            state.SkipWithError("the simulated controller did not answer");
            break;
        }
        double best = 0;
        std::size_t records = 0;
        for (int round = 0; round < kRounds; ++round) {
            const auto from = SteadyClock::now();
            auto result = fetchRecords(session, *device, 0, kRecords);
            const double s = std::chrono::duration<double>(SteadyClock::now() - from).count();
            const double rate = static_cast<double>(result.replies.size()) / s;
            if (rate > best)
                best = rate, records = result.replies.size();
        }
        session.stop();
        state.counters["records"] = static_cast<double>(records);
        state.counters["records_per_s"] = best;
    }
}

} // namespace

BENCHMARK(BM_FetchRecords)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
