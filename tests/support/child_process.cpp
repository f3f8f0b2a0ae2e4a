#include "child_process.h"

#include <csignal>
#include <cstdint>
#include <map>
#include <mutex>
#include <random>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "test_paths.h"

extern char** environ;

namespace quorvane::test {

ChildProcess::ChildProcess(std::vector<std::string> argv, bool withStandardError) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    if (withStandardError)
        posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    std::vector<char*> cargv;
    for (auto& a : argv)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, cargv[0], &actions, nullptr, cargv.data(), environ) == 0)
        pid_ = pid;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    out_ = fds[0];
}

ChildProcess::~ChildProcess() {
    stop();
    if (out_ >= 0)
        ::close(out_);
}

bool ChildProcess::waitForLine(const std::string& text, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (output_.find(text) != std::string::npos)
            return true;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0 || out_ < 0)
            return false;
        pollfd p{out_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0)
            continue;
        char buf[4096];
        auto n = ::read(out_, buf, sizeof buf);
        if (n <= 0)
            return output_.find(text) != std::string::npos;
        output_.append(buf, static_cast<std::size_t>(n));
    }
}

namespace {
int reap(int& pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Takes port for this process: a TCP socket bound to it on every address stays open until the
// process ends, so no other test process can take the same number (its own bind fails), and
// a UDP bind shows nobody uses it for datagrams now. Checking a port free and binding it later
// left a window in which a neighbouring test took it.
bool reservePort(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    const int held = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (held < 0)
        return false;
    if (::bind(held, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(held);
        return false;
    }
    const int probe = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const bool udpFree =
        probe >= 0 && ::bind(probe, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    if (probe >= 0)
        ::close(probe);
    if (!udpFree)
        ::close(held);
    return udpFree;
}

} // namespace

int ChildProcess::stop() {
    if (pid_ <= 0)
        return -1;
    ::kill(pid_, SIGTERM);
    return reap(pid_);
}

int ChildProcess::wait() {
    if (pid_ <= 0)
        return -1;
    char buf[4096];
    for (ssize_t n; (n = ::read(out_, buf, sizeof buf)) > 0;)
        output_.append(buf, static_cast<std::size_t>(n));
    return reap(pid_);
}

// Ports are drawn at random below the kernel's ephemeral range, where no system-chosen port
// lands, and reserved for the life of the process. An offset keeps its port that long.
int testPort(int offset) {
    static std::mutex lock;
    static std::map<int, int> chosen;
    std::lock_guard<std::mutex> hold(lock);
    if (auto it = chosen.find(offset); it != chosen.end())
        return it->second;
    static std::mt19937 random(static_cast<unsigned>(::getpid()) ^ std::random_device{}());
    std::uniform_int_distribution<int> range(20000, 32000);
    for (;;) {
        const int port = range(random);
        if (reservePort(port))
            return chosen[offset] = port;
    }
}
std::string simPath() {
    return binDir() + "/tools/sim/quorvane-sim";
}
std::string tavrinPath() {
    return binDir() + "/tools/tavrin/tavrin";
}
std::string cliPath() {
    return binDir() + "/src/cli/quorvane-cli";
}

} // namespace quorvane::test
