// Rights against one simulated controller on loopback (quorvane-sim with large right
// capacity), end to end through a ToolSession on the system clock.
//
// BM_AddRights: 10,000 cards added by the tool's add operation (batch runner, exchange, reply
// dispatch, tool log, grant log) to one controller, and the same 10,000 frames sent to a
// second controller of the same simulator by a minimal stop-and-wait sender written here
// (send, wait for the reply with the frame's sequence number, next). Three rounds each, taking
// turns on emptied controllers; the best round of each counts. Counters: tool_rights_per_s,
// baseline_rights_per_s, ratio (tool / baseline). Two more senders of the same frames tell
// where the difference lies: handoff_rights_per_s, the minimal sender with its replies read
// by a second thread and handed over through a condition variable, as the tool's receive
// thread does (ratio_to_handoff: tool / that); engine_rights_per_s, the tool's batch runner
// alone, without the rights operation around it; cli_rights_per_s, `quorvane-cli rights add`
// of the same cards from a file, run in-process with standard error taken for a terminal (its
// progress line rewritten in place), and cli_ratio_to_engine (the command line / the engine:
// the command line should reach at least 0.9).
// Then the 10,000 rights read back from the first controller by the download operation
// (command 52, search forward). Counters: download_rights, download_rights_per_s.
//
// Run: build/bench/bench_rights
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <unistd.h>

#include "bench_support.h"
#include "cli_context.h"
#include "platform/udp_socket.h"
#include "protocol/frame.h"
#include "rights/right_builder.h"
#include "rights/right_download.h"
#include "rights/right_frames.h"
#include "rights/right_list_operations.h"
#include "session/device_command.h"
#include "session/tool_session.h"

using namespace quorvane;
using quorvane::bench::BenchHome;
using quorvane::bench::BenchSim;
using quorvane::bench::secondsSince;
using quorvane::bench::SilentPort;
using SteadyClock = std::chrono::steady_clock;

namespace {

constexpr std::uint32_t kCards = 10000;
constexpr std::uint32_t kFirstCard = 5000000;
constexpr int kRounds = 3;

RightFields cardFields() {
    RightFields f;
    for (std::uint32_t n = kFirstCard; n < kFirstCard + kCards; ++n)
        f.numbers += std::to_string(n) + ";";
    return f;
}

// The minimal sender: one frame, then the reply that echoes its sequence number (resent after
// 5 s of silence), then the next frame. Returns the rights answered.
std::uint32_t stopAndWait(const DeviceUIInfo& device, std::uint16_t port,
                          const std::vector<std::vector<std::uint8_t>>& payloads) {
    platform::UdpSocket socket;
    if (!socket.open() || !socket.bind(0, 0))
        return 0;
    const platform::Ipv4Endpoint to{*platform::parseIpv4(device.ip), port};
    ProtocolState protocol;
    std::vector<std::uint8_t> buffer(2048);
    std::uint32_t answered = 0;
    for (const auto& payload : payloads) {
        for (bool done = false; !done;) {
            std::string frame =
                buildRequest(device.getTargetId(), right_command::kAdd, payload, protocol);
            FrameInfo sent = inspectFrame(asBytes(frame));
            socket.sendTo(asBytes(frame), to);
            while (socket.waitReadable(nullptr, 5000) == platform::UdpSocket::Wait::Readable) {
                platform::Ipv4Endpoint from;
                int n = socket.receiveFrom(buffer, from);
                if (n <= 0)
                    continue;
                FrameInfo reply = inspectFrame(Bytes(buffer.data(), static_cast<std::size_t>(n)));
                if (reply.isReply && reply.sequence == sent.sequence &&
                    reply.command == right_command::kAdd + 1) {
                    done = true;
                    ++answered;
                    break;
                }
            }
        }
    }
    return answered;
}

// The same sender with its replies read by a second thread and handed over through a
// condition variable, as the tool's receive thread hands them to the waiting operation: what
// that hop costs on this machine.
std::uint32_t stopAndWaitWithHandoff(const DeviceUIInfo& device, std::uint16_t port,
                                     const std::vector<std::vector<std::uint8_t>>& payloads) {
    platform::UdpSocket socket;
    platform::Wakeup stop;
    if (!socket.open() || !socket.bind(0, 0))
        return 0;
    std::mutex m;
    std::condition_variable cv;
    std::deque<std::uint16_t> answered;
    std::thread receiver([&] {
        std::vector<std::uint8_t> buffer(2048);
        while (socket.waitReadable(&stop) == platform::UdpSocket::Wait::Readable) {
            platform::Ipv4Endpoint from;
            int n = socket.receiveFrom(buffer, from);
            if (n <= 0)
                continue;
            FrameInfo reply = inspectFrame(Bytes(buffer.data(), static_cast<std::size_t>(n)));
            if (!reply.isReply || reply.command != right_command::kAdd + 1)
                continue;
            {
                std::lock_guard l(m);
                answered.push_back(reply.sequence);
            }
            cv.notify_all();
        }
    });
    const platform::Ipv4Endpoint to{*platform::parseIpv4(device.ip), port};
    ProtocolState protocol;
    std::uint32_t count = 0;
    for (const auto& payload : payloads) {
        for (bool done = false; !done;) {
            std::string frame =
                buildRequest(device.getTargetId(), right_command::kAdd, payload, protocol);
            FrameInfo sent = inspectFrame(asBytes(frame));
            socket.sendTo(asBytes(frame), to);
            std::unique_lock l(m);
            done = cv.wait_for(l, std::chrono::seconds(5), [&] {
                while (!answered.empty() && answered.front() != sent.sequence)
                    answered.pop_front();
                return !answered.empty();
            });
            if (done) {
                answered.pop_front();
                ++count;
            }
        }
    }
    stop.signal();
    receiver.join();
    return count;
}

// The engine alone: the batch runner sending the same frames, without the rights operation
// around it (no card list, no grant log, no failure file).
long engineOnly(ToolSession& session, const DeviceUIInfo& device,
                const std::vector<std::vector<std::uint8_t>>& payloads) {
    auto target = session.targetOf(device);
    long succeeded = 0;
    BatchPlan plan;
    plan.total = static_cast<long>(payloads.size());
    plan.limits = limits::kRight;
    plan.next = [&](long i) -> std::optional<ExchangeRequest> {
        if (i >= plan.total)
            return std::nullopt;
        ExchangeRequest r;
        r.target = target;
        r.command = right_command::kAdd;
        r.payload = payloads[static_cast<std::size_t>(i)];
        return r;
    };
    plan.answered = [&](long, const ReceivedReply& reply) {
        succeeded += reply.status == 1;
        return true;
    };
    session.batchRunner().run(plan);
    return succeeded;
}

// quorvane-cli adding the cards of cardsFile to the controller at ip; the rights it added.
long cliAdd(const std::string& home, const std::string& ip, const std::string& cardsFile) {
    std::ostringstream out, err;
    int rc = cli::runCli({"--home", home, "--password", "720418", "--yes", "rights", "add", "-d",
                          ip, "--from-file", cardsFile},
                         out, err, true);
    // "操作成功！" closes a batch in which every card was added.
    return rc == 0 && out.str().find("操作成功！") != std::string::npos ? static_cast<long>(kCards)
                                                                        : 0;
}

// Empties a controller's rights (command 24, answered).
bool clearController(ToolSession& session, const DeviceUIInfo& device) {
    session.setOneShotLimits(limits::kCommand);
    return sendDeviceCommand(session, device, right_command::kClear).ok();
}

void BM_AddRights(benchmark::State& state) {
    BenchHome home("rights", 45000 + static_cast<int>(::getpid() % 5000));
    // Two controllers (127.0.0.1 and .2) that hash rights into FLASH first.
    BenchSim sim({"--count", "2", "--port", std::to_string(home.port), "--large-rights"});
    for (auto _ : state) {
        SilentPort port;
        ToolSession session(home.dir, port);
        session.start();
        session.log().setEcho(false);
        auto toolDevice = session.refreshDevice("127.0.0.1", 5000);
        auto baselineDevice = session.refreshDevice("127.0.0.2", 5000);
        if (!toolDevice || !baselineDevice) {
            state.SkipWithError("no simulated controller");
            return;
        }
        const RightFields fields = cardFields();
        const RightSettings settings = readRightSettings(session.settings());
        std::vector<std::vector<std::uint8_t>> payloads;
        for (std::uint32_t n = kFirstCard; n < kFirstCard + kCards; ++n) {
            auto right = buildRightOfText(std::to_string(n), fields, settings);
            payloads.push_back(addPayload(std::get<xRight>(right), settings.rightMode));
        }

        const std::string cardsFile = home.dir + "/cards.txt";
        std::ofstream(cardsFile) << fields.numbers;

        // The machine is shared: the two senders take turns, each round on an empty
        // controller, and the best round of each counts.
        double bestTool = 0, bestBaseline = 0, bestHandoff = 0, bestEngine = 0, bestCli = 0;
        long toolDone = 0, resends = 0;
        std::uint32_t baselineDone = 0;
        for (int round = 0; round < kRounds; ++round) {
            if (!clearController(session, *toolDevice) ||
                !clearController(session, *baselineDevice)) {
                state.SkipWithError("clear not answered");
                return;
            }
            auto t0 = SteadyClock::now();
            baselineDone =
                stopAndWait(*baselineDevice, static_cast<std::uint16_t>(home.port), payloads);
            bestBaseline = std::max(bestBaseline, baselineDone / secondsSince(t0));

            if (!clearController(session, *baselineDevice))
                return state.SkipWithError("clear not answered");
            t0 = SteadyClock::now();
            std::uint32_t handedOver = stopAndWaitWithHandoff(
                *baselineDevice, static_cast<std::uint16_t>(home.port), payloads);
            bestHandoff = std::max(bestHandoff, handedOver / secondsSince(t0));

            if (!clearController(session, *baselineDevice))
                return state.SkipWithError("clear not answered");
            t0 = SteadyClock::now();
            long engineDone = engineOnly(session, *baselineDevice, payloads);
            bestEngine = std::max(bestEngine, static_cast<double>(engineDone) / secondsSince(t0));

            t0 = SteadyClock::now();
            RightBatchResult added = addRights(session, toolDevice, fields);
            bestTool = std::max(bestTool, static_cast<double>(added.done) / secondsSince(t0));
            toolDone = added.done;
            resends += added.resends;

            if (!clearController(session, *toolDevice))
                return state.SkipWithError("clear not answered");
            t0 = SteadyClock::now();
            long cliDone = cliAdd(home.dir, toolDevice->ip, cardsFile);
            bestCli = std::max(bestCli, static_cast<double>(cliDone) / secondsSince(t0));
        }

        // The download reads back what the tool added last.
        toolDevice = session.refreshDevice("127.0.0.1", 5000);
        double bestDownload = 0;
        std::size_t downloaded = 0;
        bool complete = true;
        for (int round = 0; toolDevice && round < kRounds; ++round) {
            auto t0 = SteadyClock::now();
            DownloadResult read = downloadRights(session, *toolDevice, true, false);
            bestDownload =
                std::max(bestDownload, static_cast<double>(read.lines.size()) / secondsSince(t0));
            downloaded = read.lines.size();
            complete = complete && read.rc == 0;
        }
        session.stop();

        state.counters["tool_done"] = static_cast<double>(toolDone);
        state.counters["baseline_done"] = baselineDone;
        state.counters["tool_resends"] = static_cast<double>(resends);
        state.counters["tool_rights_per_s"] = bestTool;
        state.counters["baseline_rights_per_s"] = bestBaseline;
        state.counters["ratio"] = bestBaseline > 0 ? bestTool / bestBaseline : 0;
        state.counters["handoff_rights_per_s"] = bestHandoff;
        state.counters["ratio_to_handoff"] = bestHandoff > 0 ? bestTool / bestHandoff : 0;
        state.counters["engine_rights_per_s"] = bestEngine;
        state.counters["cli_rights_per_s"] = bestCli;
        state.counters["cli_ratio_to_engine"] = bestEngine > 0 ? bestCli / bestEngine : 0;
        state.counters["download_rights"] = static_cast<double>(downloaded);
        state.counters["download_rights_per_s"] = bestDownload;
        state.counters["download_complete"] = complete ? 1 : 0;
    }
}
BENCHMARK(BM_AddRights)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
