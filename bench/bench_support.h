#pragma once
// What the end-to-end benchmarks share: a user port that shows nothing, and quorvane-sim
// started on loopback for the life of a benchmark.
#include <csignal>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "session/user_port.h"

extern char** environ;

namespace quorvane::bench {

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
