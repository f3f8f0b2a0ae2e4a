// The shipped service scripts with the real service, launched as the main window and the
// command line launch them; the command line's service commands ride along in the same rounds.
// Each test's service runs under a name of its own ($QUORVANE_SERVICE_PROGRAM), so the status
// check never sees another test's service.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include <unistd.h>

#include "integration_home.h"
#include "platform/process.h"
#include "recording_user_port.h"
#include "session/host_service.h"

using namespace quorvane;
using namespace quorvane::test;
namespace fs = std::filesystem;

namespace {

// A process that is gone or has ended and waits for its parent to collect it.
bool ended(int pid) {
    std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    if (stat.empty())
        return true;
    auto close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z';
}

int pidIn(const std::string& file) {
    std::string text = readFile(file);
    return text.empty() ? 0 : std::stoi(text);
}

struct ServiceHome : IntegrationHome {
    explicit ServiceHome(bool withProgram = true) : IntegrationHome(3) {
        name = "tavrin-it-" + std::to_string(::getpid());
        enter();
        for (const char* script : {"启动服务.sh", "停止服务.sh", "调试运行.sh", "service-lib.sh"})
            fs::copy_file(sourceDir() + "/dist/" + script, home + "/" + script);
        if (withProgram)
            fs::copy_file(tavrinPath(), home + "/" + name);
    }
    ~ServiceHome() {
        // Whatever a failed test left running ends with it.
        platform::runProgram("", home + "/停止服务.sh", "", true, false);
        ::unsetenv(kServiceProgramVariable);
    }
    // The scripts and the status check act on this home's service.
    void enter() const {
        ::setenv(kServiceProgramVariable, name.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home + "/xdg").c_str(), 1);
    }
    int script(const char* file) {
        int status = -1;
        EXPECT_EQ(platform::runProgram("", home + "/" + file, "", true, false, &status), 0);
        return status;
    }
    std::string pidFile() const { return home + "/tavrin.pid"; }
    std::string autostart() const { return home + "/xdg/autostart/tavrin.desktop"; }

    std::string name;
};

} // namespace

TEST(ServiceScripts, StartRunsTheServiceInTheBackgroundAndStopEndsIt) {
    ServiceHome h;
    RecordingUserPort port;
    HostService service(h.home, port);
    int rc = -1;
    EXPECT_EQ(h.cli({"service", "status"}, &rc), "服务状态：停止\n");
    EXPECT_EQ(rc, 0);

    ServiceOutcome started = service.start();
    EXPECT_TRUE(started.ok);
    EXPECT_EQ(port.busyCount(), 1); // the window is busy while the script runs
    EXPECT_EQ(port.busyDepth(), 0);
    const int pid = pidIn(h.pidFile());
    ASSERT_GT(pid, 0);
    EXPECT_FALSE(ended(pid));
    EXPECT_TRUE(fs::exists(h.autostart()));
    { // Another program directory's service program is another service: its status says
        // stopped and its stop leaves this one running. Any process of the same name once
        // counted.
        ServiceHome other;
        HostService elsewhere(other.home, port);
        EXPECT_FALSE(elsewhere.isRunning());
        EXPECT_TRUE(elsewhere.stop().ok);
        EXPECT_FALSE(ended(pid));
    }
    h.enter();
    EXPECT_EQ(h.cli({"service", "status"}, &rc), "服务状态：运行中\n");

    // A second start, from the command line, keeps the running service.
    EXPECT_EQ(h.cli({"service", "start"}, &rc), "操作完成！\n");
    EXPECT_EQ(pidIn(h.pidFile()), pid);

    ServiceOutcome stopped = service.stop();
    EXPECT_TRUE(stopped.ok);
    EXPECT_FALSE(fs::exists(h.pidFile()));
    EXPECT_TRUE(ended(pid));
    EXPECT_FALSE(fs::exists(h.autostart()));
    EXPECT_EQ(h.cli({"service", "stop"}, &rc), "操作完成！\n");
    EXPECT_EQ(rc, 0);
}

TEST(ServiceScripts, AStartWithTheProgramMissingOrDyingFailsAndLeavesNothing) {
    ServiceHome h(false);
    RecordingUserPort port;
    ServiceOutcome o = HostService(h.home, port).start();
    EXPECT_FALSE(o.ok);
    EXPECT_FALSE(o.running);
    EXPECT_EQ(o.message, "启动服务失败！原因见服务日志 log/tavrin.log。");
    EXPECT_FALSE(fs::exists(h.pidFile()));
    EXPECT_FALSE(fs::exists(h.autostart()));
    EXPECT_NE(readFile(h.home + "/log/tavrin.log").find("missing"), std::string::npos);

    // A program of the service's name that gives up at its start, as a service refused by a
    // bad setting does, is a failed start as well.
    writeFile(h.home + "/" + h.name, "#!/bin/sh\nexit 3\n");
    fs::permissions(h.home + "/" + h.name, fs::perms::owner_all);
    EXPECT_FALSE(HostService(h.home, port).start().ok);
    EXPECT_FALSE(fs::exists(h.pidFile()));
    EXPECT_FALSE(fs::exists(h.autostart()));
}

// A pid file naming another process never gets it signalled nor taken for the service, and a
// service started by hand, without a pid file, is found and stopped.
TEST(ServiceScripts, PidFileOfAnotherProcessIsNeverSignalledAndAServiceStartedByHandIsStopped) {
    ServiceHome h;
    ChildProcess other({"/bin/sleep", "60"});
    ASSERT_GT(other.pid(), 0);
    writeFile(h.pidFile(), std::to_string(other.pid()) + "\n");
    EXPECT_EQ(h.script("停止服务.sh"), 0);
    EXPECT_FALSE(ended(other.pid()));
    EXPECT_FALSE(fs::exists(h.pidFile()));

    writeFile(h.pidFile(), std::to_string(other.pid()) + "\n");
    EXPECT_EQ(h.script("启动服务.sh"), 0);
    const int pid = pidIn(h.pidFile());
    EXPECT_NE(pid, other.pid());
    EXPECT_EQ(h.script("停止服务.sh"), 0);
    EXPECT_TRUE(ended(pid));
    EXPECT_FALSE(ended(other.pid()));

    ChildProcess byHand({h.home + "/" + h.name, "--home", h.home});
    ASSERT_GT(byHand.pid(), 0);
    RecordingUserPort port;
    HostService service(h.home, port);
    for (int i = 0; i < 200 && !service.isRunning(); ++i) // it takes a moment to start
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(service.isRunning());
    EXPECT_FALSE(fs::exists(h.pidFile()));
    ServiceOutcome stopped = service.stop();
    EXPECT_TRUE(stopped.ok) << stopped.message;
    EXPECT_TRUE(ended(byHand.pid()));
    EXPECT_FALSE(ended(other.pid()));
}
