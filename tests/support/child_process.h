#pragma once
// A program started by a test (quorvane-sim, tavrin), stopped with SIGTERM when the test ends.
#include <chrono>
#include <string>
#include <vector>

namespace quorvane::test {

class ChildProcess {
  public:
    // withStandardError: standard error is read together with standard output.
    explicit ChildProcess(std::vector<std::string> argv, bool withStandardError = false);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads the child's standard output until a line containing text appears (true), the child
    // ends or the limit passes (false). Wakes on each line: no fixed sleeps.
    bool waitForLine(const std::string& text,
                     std::chrono::milliseconds limit = std::chrono::seconds(20));
    const std::string& output() const { return output_; }
    // SIGTERM, then waits; the exit status (or -1).
    int stop();
    // Reads standard output to its end and waits for the child to end by itself; its status.
    int wait();
    int pid() const { return pid_; }

  private:
    int pid_ = -1;
    int out_ = -1;
    std::string output_;
};

// A free port for this test process, the same for one offset each time it is asked for.
int testPort(int offset);
// A file in the build tree's program folders: binDir() + "/tools/sim/quorvane-sim" etc.
std::string simPath();
std::string tavrinPath();
std::string cliPath();

} // namespace quorvane::test
