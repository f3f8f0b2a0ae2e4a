// Memory pages against one simulated controller on loopback (quorvane-sim), end to end through
// a ToolSession on the system clock.
//
// BM_ReadMemory: the whole EEPROM (512 pages) and the whole FLASH (32,768 pages) read by the
// tool's download_EEPROM / download_FLASH (batch runner, exchange, reply dispatch, tool log,
// the image saved to a file), and the same pages read by a minimal stop-and-wait reader
// written here (send command 32, wait for the reply 33 echoing the sequence number, copy the
// page, next). The two take turns; the best round of each counts. Counters:
// eeprom_tool_pages_per_s, eeprom_baseline_pages_per_s, eeprom_ratio, and the same for flash.
// What limits the tool: *_nolog_pages_per_s is the tool with its log closed (no dump of each
// reply), *_nolog_ratio that against the baseline; *_handoff_pages_per_s is the minimal reader
// with its replies read by a second thread and handed over through a condition variable, as
// the tool's receive thread hands them to the waiting transfer (*_ratio_to_handoff: tool / that).
//
// BM_WriteRightImage: 100,000 rights placed in the right-storage image (right mode 0, 20-byte
// records, hashed storage) and written by the right-image worker: the pages its filter keeps.
// Counters: rights_placed, pages_sent, seconds, build_seconds.
//
// Run: build/bench/bench_memory
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <unistd.h>

#include "bench_support.h"
#include "page_reader.h"
#include "platform/udp_socket.h"
#include "protocol/frame.h"
#include "rights/right_image.h"
#include "session/tool_session.h"
#include "transfer/memory_transfer.h"
#include "transfer/page_frames.h"
#include "transfer/right_image_write.h"

using namespace quorvane;
using quorvane::bench::BenchHome;
using quorvane::bench::BenchSim;
using quorvane::bench::secondsSince;
using quorvane::bench::SilentPort;
using quorvane::bench::stopAndWaitRead;
using SteadyClock = std::chrono::steady_clock;

namespace {

// The minimal reader with its replies read by a second thread and handed over through a
// condition variable: what that hop costs on this machine.
long handoffRead(const std::string& ip, std::uint16_t port, MemoryType type, long pages,
                 std::vector<std::uint8_t>& image) {
    platform::UdpSocket socket;
    platform::Wakeup stop;
    if (!socket.open() || !socket.bind(0, 0))
        return 0;
    std::mutex m;
    std::condition_variable cv;
    std::deque<std::vector<std::uint8_t>> replies;
    std::thread receiver([&] {
        std::vector<std::uint8_t> buffer(2048);
        while (socket.waitReadable(&stop) == platform::UdpSocket::Wait::Readable) {
            platform::Ipv4Endpoint from;
            int n = socket.receiveFrom(buffer, from);
            if (n <= 0)
                continue;
            {
                std::lock_guard l(m);
                replies.emplace_back(buffer.begin(), buffer.begin() + n);
            }
            cv.notify_all();
        }
    });
    const platform::Ipv4Endpoint to{*platform::parseIpv4(ip), port};
    ProtocolState protocol;
    long read = 0;
    for (long p = 0; p < pages; ++p) {
        const auto address = static_cast<std::uint32_t>(p) * kPageBytes;
        for (bool done = false; !done;) {
            std::string frame =
                buildRequest(0xFFFF, page_command::kReadPage,
                             readPagePayload(address, static_cast<std::uint32_t>(type)), protocol);
            FrameInfo sent = inspectFrame(asBytes(frame));
            socket.sendTo(asBytes(frame), to);
            std::unique_lock l(m);
            done = cv.wait_for(l, std::chrono::seconds(10), [&] {
                for (; !replies.empty(); replies.pop_front()) {
                    const auto& r = replies.front();
                    FrameInfo info = inspectFrame(r);
                    if (info.isReply && info.sequence == sent.sequence &&
                        r.size() >= offsets::kPayload + 8 + kPageBytes) {
                        std::copy_n(r.begin() + offsets::kPayload + 8, kPageBytes,
                                    image.begin() + address);
                        replies.pop_front();
                        return true;
                    }
                }
                return false;
            });
            read += done;
        }
    }
    stop.signal();
    receiver.join();
    return read;
}

void BM_ReadMemory(benchmark::State& state) {
    BenchHome home("memory", 40000 + static_cast<int>(::getpid() % 4000));
    BenchSim sim({"--count", "1", "--port", std::to_string(home.port), "--large-rights"});
    for (auto _ : state) {
        SilentPort port;
        ToolSession session(home.dir, port);
        session.start();
        session.log().setEcho(false);
        auto device = session.refreshDevice("127.0.0.1", 5000);
        if (!device) {
            state.SkipWithError("no simulated controller");
            return;
        }
        MemoryImages images;
        std::vector<std::uint8_t> baselineImage(kFlashBytes);
        struct Memory {
            const char* name;
            MemoryType type;
            long pages;
            int rounds;
        };
        for (const Memory m : {Memory{"eeprom", MemoryType::Eeprom, kEepromPages, 5},
                               Memory{"flash", MemoryType::Flash, kFlashPages, 2}}) {
            double bestTool = 0, bestBaseline = 0, bestNoLog = 0, bestHandoff = 0;
            const auto toolRead = [&] {
                return m.type == MemoryType::Eeprom
                           ? download_EEPROM(session, *device, images, 0, 0, home.dir + "/e.bin")
                           : download_FLASH(session, *device, images, 0, 0, home.dir + "/f.bin");
            };
            for (int round = 0; round < m.rounds; ++round) {
                auto t0 = SteadyClock::now();
                long base = stopAndWaitRead("127.0.0.1", static_cast<std::uint16_t>(home.port),
                                            m.type, 0, m.pages, baselineImage);
                bestBaseline = std::max(bestBaseline, static_cast<double>(base) / secondsSince(t0));
                t0 = SteadyClock::now();
                long handed = handoffRead("127.0.0.1", static_cast<std::uint16_t>(home.port),
                                          m.type, m.pages, baselineImage);
                bestHandoff = std::max(bestHandoff, static_cast<double>(handed) / secondsSince(t0));
                t0 = SteadyClock::now();
                TransferResult r = toolRead();
                bestTool = std::max(bestTool, static_cast<double>(r.pages) / secondsSince(t0));
                const std::string logPath = session.log().path();
                session.log().closeToolLog();
                t0 = SteadyClock::now();
                r = toolRead();
                bestNoLog = std::max(bestNoLog, static_cast<double>(r.pages) / secondsSince(t0));
                session.log().openToolLog(logPath);
            }
            const std::string n = m.name;
            state.counters[n + "_tool_pages_per_s"] = bestTool;
            state.counters[n + "_baseline_pages_per_s"] = bestBaseline;
            state.counters[n + "_ratio"] = bestBaseline > 0 ? bestTool / bestBaseline : 0;
            state.counters[n + "_nolog_pages_per_s"] = bestNoLog;
            state.counters[n + "_nolog_ratio"] = bestBaseline > 0 ? bestNoLog / bestBaseline : 0;
            state.counters[n + "_handoff_pages_per_s"] = bestHandoff;
            state.counters[n + "_ratio_to_handoff"] = bestHandoff > 0 ? bestTool / bestHandoff : 0;
        }
        session.stop();
    }
}
BENCHMARK(BM_ReadMemory)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteRightImage(benchmark::State& state) {
    BenchHome home("memory-image", 40001 + static_cast<int>(::getpid() % 4000));
    BenchSim sim({"--count", "1", "--port", std::to_string(home.port), "--large-rights",
                  "--right-mode", "0"});
    for (auto _ : state) {
        SilentPort port;
        ToolSession session(home.dir, port);
        session.start();
        session.log().setEcho(false);
        auto device = session.refreshDevice("127.0.0.1", 5000);
        if (!device) {
            state.SkipWithError("no simulated controller");
            return;
        }
        MemoryImages images;
        auto t0 = SteadyClock::now();
        clearEepromImage(images);
        RightImage image(images.eeprom, images.flash, 0, nullptr, nullptr);
        long placed = 0;
        for (std::uint32_t n = 0; n < 100000; ++n) {
            xRight r;
            r.cardLow = 7000000 + n;
            placed += image.appendRight(r, n == 0) == 0;
        }
        const double build = secondsSince(t0);
        t0 = SteadyClock::now();
        TransferResult sent = uploadRightImage(
            session, *device, images, [&image](bool e, std::uint32_t a, std::uint32_t len) {
                return image.testRightMask(e, a, len);
            });
        state.counters["rights_placed"] = static_cast<double>(placed);
        state.counters["pages_sent"] = static_cast<double>(sent.pages);
        state.counters["seconds"] = secondsSince(t0);
        state.counters["build_seconds"] = build;
        session.stop();
    }
}
BENCHMARK(BM_WriteRightImage)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
