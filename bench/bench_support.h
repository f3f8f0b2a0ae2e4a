#pragma once
// What the end-to-end benchmarks share: a user port that shows nothing, a scratch program
// directory, quorvane-sim started on loopback for the life of a benchmark, and a stopwatch.
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "session/user_port.h"

extern char** environ;

namespace quorvane::bench {

// Seconds since from, on the steady clock.
inline double secondsSince(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// A program directory in the temporary folder, removed at the end: config.ini searches the
// loopback on port with multicast and the pipe off; the start-up password is 720418.
struct BenchHome {
    BenchHome(const std::string& name, int port) : port(port) {
        dir = (std::filesystem::temp_directory_path() /
               ("quorvane-bench-" + name + "-" + std::to_string(::getpid())))
                  .string();
        std::filesystem::create_directories(dir);
        std::ofstream(dir + "/config.ini")
            << "[net]\ncommon-dev-admin-port=" << port
            << "\ncommon-broadcast-address=2147483647\nenable-mcast=0\nenable-pipe=0\n"
            << "[db]\nxstr=961b74e72e3212585228372772981543\n";
    }
    ~BenchHome() { std::filesystem::remove_all(dir); }
    BenchHome(const BenchHome&) = delete;
    BenchHome& operator=(const BenchHome&) = delete;
    std::string dir;
    int port = 0;
};

// Answers every question with `yes`; keeps the last message shown.
class SilentPort : public UserPort {
  public:
    explicit SilentPort(bool yes = false) : yes_(yes) {}
    void showNotice(const std::string&) override {}
    void showMessage(const std::string& text, const std::string&) override { last = text; }
    bool askYesNo(const std::string&) override { return yes_; }
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
    std::string last;

  private:
    bool yes_;
};

// quorvane-sim on 127.0.0.x with the given options, ready once constructed; stopped with
// SIGTERM when destroyed.
class BenchSim {
  public:
    explicit BenchSim(std::vector<std::string> options) {
        std::string bin = std::string(QUORVANE_BIN_DIR) + "/tools/sim/quorvane-sim";
        options.insert(options.begin(), bin);
        std::vector<char*> argv;
        for (auto& a : options)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, fds[1], 1);
        if (::posix_spawn(&pid_, bin.c_str(), &fa, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&fa);
        ::close(fds[1]);
        std::string out;
        char buf[256];
        while (pid_ > 0 && out.find("ready") == std::string::npos) {
            auto n = ::read(fds[0], buf, sizeof buf);
            if (n <= 0)
                break;
            out.append(buf, static_cast<std::size_t>(n));
        }
        ::close(fds[0]);
    }
    ~BenchSim() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGTERM);
        int st = 0;
        ::waitpid(pid_, &st, 0);
    }
    BenchSim(const BenchSim&) = delete;
    BenchSim& operator=(const BenchSim&) = delete;

  private:
    pid_t pid_ = -1;
};

} // namespace quorvane::bench
