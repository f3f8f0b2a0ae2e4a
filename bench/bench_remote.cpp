// One-shot remote commands end to end against quorvane-sim on loopback: the cost of an open-door
// command that waits for its reply (the command line's way) is one round trip, not a poll step.
//
// Counters: ok (commands answered with status 1, must equal the iterations).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "bench_support.h"
#include "remote/remote_commands.h"
#include "session/tool_session.h"

using namespace quorvane;
using quorvane::bench::BenchSim;
using quorvane::bench::SilentPort;

namespace {

void BM_OpenDoorRoundTrip(benchmark::State& state) {
    const int port = 45000 + static_cast<int>(::getpid() % 5000);
    const std::string home = (std::filesystem::temp_directory_path() /
                              ("quorvane-bench-remote-" + std::to_string(::getpid())))
                                 .string();
    std::filesystem::create_directories(home);
    std::ofstream(home + "/config.ini")
        << "[net]\ncommon-dev-admin-port=" << port << "\nenable-mcast=0\nenable-pipe=0\n";
    BenchSim sim({"--count", "2", "--port", std::to_string(port)});
    SilentPort userPort(true);
    ToolSession session(home, userPort);
    session.start();
    session.log().setEcho(false);
    session.setOneShotLimits(limits::kCommand);
    auto device = session.refreshDevice("127.0.0.2", 5000);
    if (!device) {
        state.SkipWithError("the simulator did not answer");
        return;
    }
    long ok = 0;
    int relay = 0;
    for (auto _ : state)
        ok += openDoor(session, device, relay++ % 4, 500) == 0;
    session.stop();
    state.counters["ok"] = static_cast<double>(ok);
    std::filesystem::remove_all(home);
}
BENCHMARK(BM_OpenDoorRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
