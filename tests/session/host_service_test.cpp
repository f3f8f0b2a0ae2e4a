// The host service's console run: in a terminal window when the desktop has one, else into a
// log file it names.
#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "recording_user_port.h"
#include "session/host_service.h"
#include "test_paths.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

void script(const std::string& path, const std::string& body) {
    test::writeFile(path, "#!/bin/sh\n" + body + "\n");
    fs::permissions(path, fs::perms::owner_all);
}

// The file is there from the moment the shell opens it: wait for its whole line.
std::string waitForLine(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        const std::string text = test::readFile(path);
        if (!text.empty() && text.back() == '\n')
            return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

struct ConsoleRun : ::testing::Test {
    ConsoleRun() {
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
    }
    ~ConsoleRun() override {
        ::setenv("PATH", path.c_str(), 1);
        ::unsetenv("DISPLAY");
    }
    std::string dir = test::scratchDir("host-service");
    std::string path = ::getenv("PATH");
    test::RecordingUserPort port;
    HostService service{dir, port, "tavrin-host-service-test"};
};

// Without a desktop the output goes to the file the run names; with one, the script runs in a
// terminal window.
TEST_F(ConsoleRun, InATerminalWindowWhenTheDesktopHasOneElseIntoTheFileItNames) {
    EXPECT_EQ(service.runConsole(), std::nullopt);
    EXPECT_FALSE(platform::fileExists(dir + "/log"));
    script(dir + "/" + kServiceDebugScript, "echo service output");
    auto said = service.runConsole();
    const std::string log = dir + "/" + kServiceConsoleLog;
    ASSERT_TRUE(said);
    EXPECT_TRUE(said->ends_with(log));
    EXPECT_EQ(waitForLine(log), "service output\n");

    const std::string bin = test::scratchDir("host-service-bin");
    script(bin + "/x-terminal-emulator", "echo \"$@\" > '" + dir + "/terminal-args'");
    ::setenv("PATH", (bin + ":" + path).c_str(), 1);
    ::setenv("DISPLAY", ":99", 1);
    EXPECT_EQ(service.runConsole(), std::nullopt);
    EXPECT_EQ(waitForLine(dir + "/terminal-args"),
              "-e /bin/sh " + dir + "/" + kServiceDebugScript + "\n");
}

} // namespace
} // namespace quorvane
