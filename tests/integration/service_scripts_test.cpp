// The shipped start and stop scripts, launched the way the main window launches them, with the
// service looked up by its executable name as the status refresh does.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "integration_home.h"
#include "platform/process.h"

using namespace quorvane;
using namespace quorvane::test;
namespace fs = std::filesystem;

namespace {
bool serviceRuns(const std::string& pidFile) {
    std::string pid = readFile(pidFile);
    return !pid.empty() && fs::exists("/proc/" + pid.substr(0, pid.find('\n')));
}
// The script returns once the service is launched; its process carries the service's name
// only after nohup has replaced itself, a moment later.
bool becomesTrue(const std::function<bool()>& condition) {
    for (int i = 0; i < 200; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}
} // namespace

TEST(ServiceScripts, StartRunsTheServiceInTheBackgroundAndStopEndsIt) {
    IntegrationHome h;
    ::setenv("XDG_CONFIG_HOME", (h.home + "/xdg").c_str(), 1);
    for (const char* script : {"启动服务.sh", "停止服务.sh"})
        fs::copy_file(sourceDir() + "/dist/" + script, h.home + "/" + script);
    fs::copy_file(tavrinPath(), h.home + "/tavrin");

    EXPECT_EQ(platform::runProgram("", h.home + "/missing.sh", "", true, false), -1);
    ASSERT_EQ(platform::runProgram("", h.home + "/启动服务.sh", "", true, false), 0);
    const std::string pidFile = h.home + "/tavrin.pid";
    EXPECT_TRUE(serviceRuns(pidFile));
    EXPECT_TRUE(fs::exists(h.home + "/xdg/autostart/tavrin.desktop"));
    // The status refresh compares without ".exe" and ignoring case.
    EXPECT_TRUE(becomesTrue([] { return platform::isProcessRunning("Tavrin.exe"); }));

    const std::string pid = readFile(pidFile).substr(0, readFile(pidFile).find('\n'));
    ASSERT_EQ(platform::runProgram("", h.home + "/停止服务.sh", "", true, false), 0);
    EXPECT_FALSE(fs::exists(pidFile));
    EXPECT_TRUE(becomesTrue([&pid] { return !fs::exists("/proc/" + pid); }));
    EXPECT_FALSE(fs::exists(h.home + "/xdg/autostart/tavrin.desktop"));
    // Other tests may run a service of their own at the same time: only a name that no
    // process has can be asserted absent.
    EXPECT_FALSE(platform::isProcessRunning("no-such-service-quorvane.exe"));
}
