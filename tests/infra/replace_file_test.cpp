#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/files.h"
#include "test_paths.h"

namespace quorvane {
namespace {

// The umask as the kernel reports it, read without changing it.
int currentUmask() {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Umask:", 0) == 0)
            return std::stoi(line.substr(6), nullptr, 8);
    return -1;
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(ReplaceFile, WritersOnManyThreadsLeaveTheProcessUmaskAloneAndOldFilesKeepTheirMode) {
    std::string dir = test::scratchDir("replace");
    mode_t saved = ::umask(027);
    // Another thread that creates a file at any moment gets the umask in force then: it must
    // never see anything but the one the process set.
    std::atomic<bool> done{false};
    std::atomic<int> strayUmask{-1};
    std::thread watcher([&] {
        while (!done.load()) {
            int m = currentUmask();
            if (m != 027)
                strayUmask.store(m);
        }
    });
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&dir, t] {
            for (int i = 0; i < 300; ++i)
                platform::replaceFile(dir + "/f" + std::to_string(t) + "-" + std::to_string(i),
                                      "x");
        });
    for (auto& w : writers)
        w.join();
    done.store(true);
    watcher.join();
    EXPECT_EQ(strayUmask.load(), -1);
    EXPECT_EQ(currentUmask(), 027);
    // New files follow the umask; a replaced one keeps its mode.
    EXPECT_EQ(modeOf(dir + "/f3-299"), 0640u);
    ::chmod((dir + "/f0-0").c_str(), 0604);
    ASSERT_TRUE(platform::replaceFile(dir + "/f0-0", "b"));
    EXPECT_EQ(modeOf(dir + "/f0-0"), 0604u);
    EXPECT_EQ(test::readFile(dir + "/f0-0"), "b");
    ::umask(saved);
    // A missing directory fails without leaving a temporary.
    EXPECT_FALSE(platform::replaceFile(dir + "/none/x.bin", "x"));
    EXPECT_FALSE(platform::fileExists(dir + "/none"));
}

// A link planted where a result file or a log goes once sent it to the link's target, and a
// dangling one created that target.
TEST(ReplaceFile, ALinkInTheWayIsReplacedNotFollowedUnlessWrittenThroughOnPurpose) {
    std::string dir = test::scratchDir("links");
    test::writeFile(dir + "/outside.txt", "keep");
    for (const char* name : {"/result.txt", "/grant.log", "/tool.log", "/config.ini"})
        ASSERT_EQ(::symlink((dir + "/outside.txt").c_str(), (dir + name).c_str()), 0);
    ASSERT_EQ(::symlink((dir + "/nowhere").c_str(), (dir + "/dangling.txt").c_str()), 0);

    ASSERT_TRUE(platform::replaceFile(dir + "/result.txt", "new"));
    ASSERT_TRUE(platform::replaceFile(dir + "/dangling.txt", "new"));
    EXPECT_FALSE(platform::AppendFile(dir + "/grant.log").isOpen());
    EXPECT_EQ(platform::openAppendStream(dir + "/tool.log"), nullptr);
    EXPECT_EQ(test::readFile(dir + "/outside.txt"), "keep");
    EXPECT_FALSE(platform::fileExists(dir + "/nowhere"));
    struct stat st {};
    ASSERT_EQ(::lstat((dir + "/result.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(test::readFile(dir + "/result.txt"), "new");

    ASSERT_TRUE(platform::replaceFile(dir + "/config.ini", "v", platform::AtLink::WriteThrough));
    EXPECT_EQ(test::readFile(dir + "/outside.txt"), "v");
}

} // namespace
} // namespace quorvane
