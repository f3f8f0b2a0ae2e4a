// Search of many simulated controllers end to end (quorvane-sim on loopback, the tool's channel,
// reply handler and device list), and the list insertion alone.
//
// Counters: listed (must equal the controllers), last_reply_to_list_us (from the last search
// reply entering the handler to the ordered list being complete), handle_cpu_us (thread CPU
// time of decoding and list handling per reply), snapshot_us (copy of the final list for the
// redraw).
#include <benchmark/benchmark.h>

#include <atomic>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "model/device_info.h"
#include "protocol/reply_waiter.h"
#include "session/device_list.h"
#include "session/search_reply.h"
#include "session/tool_session.h"

extern char** environ;
using namespace quorvane;
using SteadyClock = std::chrono::steady_clock;

namespace {

class SilentPort : public UserPort {
public:
    void showNotice(const std::string&) override {}
    void showMessage(const std::string&, const std::string&) override {}
    bool askYesNo(const std::string&) override { return false; }
    Answer askYesNoCancel(const std::string&) override { return Answer::No; }
    void progress(const std::string&, long, long) override {}
    std::optional<std::string> pickOpenFile(const std::string&) override { return {}; }
    std::optional<std::string> pickSaveFile(const std::string&, const std::string&,
                                            const std::string&) override {
        return {};
    }
    void openDocument(const std::string&, bool) override {}
    void beginBusy() override {}
    void endBusy() override {}
    void pumpEvents() override {}
};

double threadCpuUs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

struct Sim {
    Sim(int count, int port, int rate) {
        std::string bin = std::string(QUORVANE_BIN_DIR) + "/tools/sim/quorvane-sim";
        std::vector<std::string> args = {bin, "--count", std::to_string(count), "--port",
                                         std::to_string(port), "--rate", std::to_string(rate)};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int fds[2];
        if (::pipe(fds) != 0) return;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, fds[1], 1);
        posix_spawn(&pid, bin.c_str(), &fa, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&fa);
        ::close(fds[1]);
        std::string out;
        char buf[256];
        while (out.find("ready") == std::string::npos) {
            auto n = ::read(fds[0], buf, sizeof buf);
            if (n <= 0) break;
            out.append(buf, static_cast<std::size_t>(n));
        }
        ::close(fds[0]);
    }
    ~Sim() {
        ::kill(pid, SIGTERM);
        int st = 0;
        ::waitpid(pid, &st, 0);
    }
    pid_t pid = -1;
};

void BM_SearchEndToEnd(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int port = 40000 + static_cast<int>(::getpid() % 5000);
    const std::string home =
        (std::filesystem::temp_directory_path() / ("quorvane-bench-" + std::to_string(::getpid())))
            .string();
    std::filesystem::create_directories(home);
    std::ofstream(home + "/config.ini")
        << "[net]\ncommon-dev-admin-port=" << port
        << "\ncommon-broadcast-address=2147483647\nenable-mcast=0\nenable-pipe=0\n";
    // The rate keeps a burst within what the loopback socket buffers hold.
    Sim sim(count, port, 20000);

    for (auto _ : state) {
        SilentPort userPort;
        ToolSession session(home, userPort);
        session.start();
        session.log().setEcho(false);
        SearchReplyHandler handler(session.dispatcher(), session.devices(), 3366);
        std::atomic<std::size_t> replies{0};
        double cpuUs = 0;
        SteadyClock::time_point lastIn, lastOut;
        ReplyWaiter done;
        session.dispatcher().setHandler(3, [&](const Reply& r) {
            auto in = SteadyClock::now();
            double c0 = threadCpuUs();
            int rc = handler.handle(r);
            cpuUs += threadCpuUs() - c0;
            lastIn = in;
            lastOut = SteadyClock::now();
            if (++replies == static_cast<std::size_t>(count)) done.set();
            return rc;
        });
        SearchRequest request;
        request.searchAddress = 0x7FFFFFFF;
        request.port = static_cast<std::uint16_t>(port);
        request.remember = false;
        session.search(request);
        done.wait(std::chrono::seconds(120));
        auto t0 = SteadyClock::now();
        auto rows = session.devices().snapshot();
        auto snapshotUs = std::chrono::duration<double, std::micro>(SteadyClock::now() - t0).count();
        session.stop();
        bool ordered = std::is_sorted(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return deviceLess(a, b, 1);
        });
        state.counters["listed"] = static_cast<double>(rows.size());
        state.counters["ordered"] = ordered ? 1 : 0;
        state.counters["last_reply_to_list_us"] =
            std::chrono::duration<double, std::micro>(lastOut - lastIn).count();
        state.counters["handle_cpu_us"] = replies ? cpuUs / static_cast<double>(replies) : 0;
        state.counters["snapshot_us"] = snapshotUs;
    }
    std::filesystem::remove_all(home);
}
BENCHMARK(BM_SearchEndToEnd)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

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
        for (const auto& r : records) list.addSearchReply(r);
        benchmark::DoNotOptimize(list.size());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AddSearchReply)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
