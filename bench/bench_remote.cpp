// One-shot remote commands end to end against quorvane-sim on loopback: the cost of an open-door
// command that waits for its reply (the command line's way) is one round trip, not a poll step.
//
// Counters: ok (commands answered with status 1, must equal the iterations).
#include <benchmark/benchmark.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "session/remote_commands.h"
#include "session/tool_session.h"

extern char** environ;
using namespace quorvane;

namespace {

class SilentPort : public UserPort {
  public:
    void showNotice(const std::string&) override {}
    void showMessage(const std::string&, const std::string&) override {}
    bool askYesNo(const std::string&) override { return true; }
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

struct Sim {
    explicit Sim(int port) {
        std::string bin = std::string(QUORVANE_BIN_DIR) + "/tools/sim/quorvane-sim";
        std::vector<std::string> args = {bin, "--count", "2", "--port", std::to_string(port)};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        int fds[2];
        if (::pipe(fds) != 0)
            return;
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
            if (n <= 0)
                break;
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

void BM_OpenDoorRoundTrip(benchmark::State& state) {
    const int port = 45000 + static_cast<int>(::getpid() % 5000);
    const std::string home = (std::filesystem::temp_directory_path() /
                              ("quorvane-bench-remote-" + std::to_string(::getpid())))
                                 .string();
    std::filesystem::create_directories(home);
    std::ofstream(home + "/config.ini")
        << "[net]\ncommon-dev-admin-port=" << port << "\nenable-mcast=0\nenable-pipe=0\n";
    Sim sim(port);
    SilentPort userPort;
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
