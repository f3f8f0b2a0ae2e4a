// The pipe's folders are this user's own or not used, at both ends; the server at the other
// end must run as this user. In /tmp another user could otherwise make the folders first.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "channel_fixture.h"
#include "platform/local_pipe.h"
#include "protocol/named_pipe.h"
#include "protocol/pipe_channel.h"

using namespace quorvane;
using namespace quorvane::test;
namespace fs = std::filesystem;

namespace {

constexpr uid_t kOtherUid = 65534;

// The folder and its PIPE folder with their modes; made by another user (needs root), or
// reached through a link.
struct FolderCase {
    const char* name;
    bool otherUser, link;
    unsigned mode, pipeMode;
    const char* refusal; // what the refusal says
};

// A runtime folder of the test's own, and the path of the pipe "testpipe" below it.
class PipeRuntime : public ::testing::Test {
  protected:
    void SetUp() override {
        runtime = scratchDir("pipe-folder");
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        path = *platform::localPipePath("127.0.0.1", "testpipe");
    }
    std::string runtime, path;
};
// The PIPE folder is examined as its parent is: one of its refusals shows it is examined.
class PipeFolder : public PipeRuntime, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(PipeFolder, IsRefusedByTheServiceAndTheTool) {
    const FolderCase& c = GetParam();
    if (c.otherUser && ::geteuid() != 0)
        GTEST_SKIP() << "needs root and a second uid";
    const std::string folder = runtime + (c.link ? "/elsewhere" : "/quorvane");
    fs::create_directories(folder + "/PIPE");
    fs::permissions(folder, fs::perms(c.mode));
    fs::permissions(folder + "/PIPE", fs::perms(c.pipeMode));
    if (c.otherUser)
        ::chown(folder.c_str(), kOtherUid, kOtherUid);
    if (c.link)
        fs::create_directory_symlink(folder, runtime + "/quorvane");
    platform::LocalPipeListener listener;
    EXPECT_FALSE(listener.listen(path));
    EXPECT_NE(listener.error().find(c.refusal), std::string::npos) << listener.error();
    EXPECT_FALSE(listener.inUse());
    platform::LocalPipe client;
    EXPECT_FALSE(client.connect(path));
    EXPECT_NE(client.refusal().find(c.refusal), std::string::npos) << client.refusal();
    std::string refusal;
    EXPECT_FALSE(CNamedPipe::wait("127.0.0.1", "testpipe", 1000, &refusal));
    EXPECT_EQ(refusal, client.refusal());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Pipe, PipeFolder, ::testing::Values(
    FolderCase{"OwnedByAnotherUser", true, false, 0700, 0700, "属于其他用户"},
    FolderCase{"ALink", false, true, 0700, 0700, "是符号链接"},
    FolderCase{"OpenToOthers", false, false, 0777, 0700, "对其他用户开放（权限0777）"},
    FolderCase{"PipeFolderOpenToOthers", false, false, 0700, 0733, "对其他用户开放（权限0733）"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The pipe is only for its owner, on this machine only, and the umask is left alone.
TEST_F(PipeRuntime, OurFolderIsMadePrivateAndASecondListenerFindsThePipeInUse) {
    EXPECT_EQ(path, runtime + "/quorvane/PIPE/testpipe");
    EXPECT_TRUE(platform::localPipePath("localhost", "x"));
    EXPECT_TRUE(platform::localPipePath(".", "x"));
    EXPECT_FALSE(platform::localPipePath("192.168.1.5", "x"));
    EXPECT_FALSE(platform::localPipePath("127.0.0.1", "../x"));
    fs::create_directories(runtime + "/quorvane");
    fs::permissions(runtime + "/quorvane", fs::perms(0755)); // as an earlier build made it
    platform::LocalPipeListener listener;
    mode_t before = ::umask(022);
    ASSERT_TRUE(listener.listen(path)) << listener.error();
    EXPECT_EQ(::umask(before), 022u);
    for (const char* dir : {"/quorvane", "/quorvane/PIPE"})
        EXPECT_EQ(fs::status(runtime + dir).permissions(), fs::perms(0700)) << dir;
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0600));
    platform::LocalPipe client;
    EXPECT_TRUE(client.connect(path)) << client.refusal();
    EXPECT_TRUE(client.refusal().empty());
    // A second listener finds the pipe in use and leaves the first one's socket alone.
    platform::LocalPipeListener second;
    EXPECT_FALSE(second.listen(path));
    EXPECT_TRUE(second.inUse());
    EXPECT_TRUE(platform::LocalPipe().connect(path));
    listener.close();
    EXPECT_TRUE(second.listen(path)) << second.error();
}

// A socket of another user placed at the pipe's path: the tool sends it nothing.
TEST_F(PipeRuntime, AServerOfAnotherUserIsRefusedBeforeAnythingIsSent) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root and a second uid";
    { // the folders as the service makes them
        platform::LocalPipeListener ours;
        ASSERT_TRUE(ours.listen(path));
    }
    const std::string drop = runtime + "/drop";
    fs::create_directories(drop);
    fs::permissions(drop, fs::perms(0777));
    const std::string theirs = drop + "/sock";
    sockaddr_un sa{};
    sa.sun_family = AF_UNIX;
    theirs.copy(sa.sun_path, sizeof sa.sun_path - 1);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // Only calls that are safe after fork in a threaded process; killed when done.
        int fd = -1;
        if (::setgid(kOtherUid) != 0 || ::setuid(kOtherUid) != 0 ||
            (fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0)) < 0 ||
            ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || ::listen(fd, 4) != 0)
            ::_exit(3);
        [[maybe_unused]] auto w = ::write(ready[1], "r", 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]); // a child that failed ends the read
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(::rename(theirs.c_str(), path.c_str()), 0);

    platform::LocalPipe client;
    EXPECT_FALSE(client.connect(path));
    EXPECT_NE(client.refusal().find("管道服务端属于其他用户（uid 65534）"), std::string::npos)
        << client.refusal();

    // The pipe worker logs the refusal and shows it once.
    ChannelFixture fx("enable-pipe=1\npipe-name=testpipe\n");
    Pipe_Thread_Pool pool(*fx.settings, *fx.dispatcher);
    pool.setListServiceDevices(true);
    pool.sendPipe_i(pipeCommand(1, 1000));
    pool.sendPipe_i(pipeCommand(1, 1000));
    {
        std::lock_guard l(fx.m);
        ASSERT_EQ(fx.notices.size(), 1u);
        EXPECT_NE(fx.notices[0].find("管道服务端属于其他用户"), std::string::npos);
    }

    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    ::close(ready[0]);
}

} // namespace
