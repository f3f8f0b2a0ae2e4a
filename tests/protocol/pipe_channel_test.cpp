#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "channel_fixture.h"
#include "platform/local_pipe.h"
#include "protocol/pipe_channel.h"
#include "protocol/pipe_message.h"
#include "recording_user_port.h"
#include "session/device_list.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

// A host service that answers one exchange with a script of answers, then waits for the
// tool to hang up.
struct FakeService {
    explicit FakeService(std::vector<std::string> script) : script_(std::move(script)) {
        path = *platform::localPipePath("127.0.0.1", "testpipe");
        listening = listener.listen(path);
        thread = std::thread([this] { serve(); });
    }
    ~FakeService() {
        stop.signal();
        thread.join();
    }
    void serve() {
        auto client = listener.accept(&stop);
        // The channel's wait probes the pipe with a connection of its own; the exchange is the
        // connection that sends something.
        while (client) {
            std::vector<std::uint8_t> buf(kPipeBufferSize);
            auto r = client->read(buf, std::chrono::steady_clock::now() + std::chrono::seconds(10),
                                  &stop);
            if (r.status == platform::LocalPipe::Status::Message) {
                request.assign(reinterpret_cast<char*>(buf.data()), r.size);
                for (const auto& a : script_)
                    client->write(asBytes(a));
                // Held open: the tool must hang up on its own (after "xxx" or its first answer).
                client->read(buf, std::chrono::steady_clock::now() + std::chrono::seconds(20),
                             &stop);
                return;
            }
            client = listener.accept(&stop);
        }
    }
    std::vector<std::string> script_;
    std::string path;
    bool listening = false;
    platform::LocalPipeListener listener;
    platform::Wakeup stop;
    std::thread thread;
    std::string request;
};

class PipeChannel : public ::testing::Test {
  protected:
    void SetUp() override {
        runtime = scratchDir("runtime");
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    std::string runtime;
    ChannelFixture fx{"enable-pipe=1\npipe-name=testpipe\n"};
    DeviceList devices;
    RecordingUserPort port;
    PipeHooks hooks() {
        return {[this] { return devices.pipeUpdateText(); }, [this] { port.beginBusy(); },
                [this] { port.endBusy(); }};
    }
    Pipe_Thread_Pool pool{*fx.settings, *fx.dispatcher, hooks()};
    PipeChannel() { pool.setListServiceDevices(true); }
};

} // namespace

TEST_F(PipeChannel, RelayedCommandWithWaitFlagOneStopsAfterTheFirstAnswer) {
    FakeService service({buildPipeAnswer("127.0.0.1:65534", asBytes(replyFrame(17))),
                         buildPipeAnswer("127.0.0.1:65534", asBytes(replyFrame(41)))});
    ASSERT_TRUE(service.listening);
    // A long timeout: only the wait flag can end the exchange early.
    pool.sendPipe_i(pipeCommand(1, 60000));
    auto got = fx.received();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].code, 17);
    EXPECT_EQ(got[0].source, "127.0.0.1:65534");
    EXPECT_FALSE(got[0].viaUdp);

    EXPECT_EQ(hex(service.request), hex(buildPipeRequest({"门禁1", "2024000000000001", 60000, 1,
                                                          kPipeRelay, "\x01\x02\x03"})));
}

TEST_F(PipeChannel, XxxEndsTheReadingLoopAndShortAnswersNeverReachTheHandler) {
    FakeService service({std::string(20, 'A'), // shorter than the header: skipped
                         buildPipeAnswer("127.0.0.2:65534", asBytes(replyFrame(3))), "xxx",
                         buildPipeAnswer("127.0.0.3:65534", asBytes(replyFrame(5)))});
    ASSERT_TRUE(service.listening);
    // Empty texts: a search, which reads until "xxx" or quiet time.
    pool.sendPipe_i(PipeMessage{"", "", {2}, 60000, 1});
    auto got = fx.received();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].code, 3);
    // A search keeps the window busy for the exchange.
    EXPECT_EQ(port.busyCount(), 1);
    EXPECT_EQ(port.busyDepth(), 0);
}

// A missing service costs only the wait for its instance.
TEST_F(PipeChannel, NothingIsSentWhileThePipeIsOffOrServiceDevicesAreNotListed) {
    pool.sendPipe_i(pipeCommand(1, 100)); // no service yet
    EXPECT_TRUE(fx.received().empty());
    FakeService service({});
    pool.setListServiceDevices(false);
    pool.sendPipe_i(pipeCommand(1, 100)); // the list box is not ticked
    fx.settings->writeString("net", "enable-pipe", "0");
    pool.setListServiceDevices(true);
    pool.sendPipe_i(pipeCommand(1, 100));
    EXPECT_TRUE(service.request.empty());
}

// A stop right after the start once waited for ever: a started worker counts before it reaches
// its loop.
TEST_F(PipeChannel, QueuedFramesGoThroughTheWorkerAndAStopRightAfterTheStartEndsIt) {
    FakeService service({buildPipeAnswer("127.0.0.9:65534", asBytes(replyFrame(67)))});
    ASSERT_EQ(pool.start(), 0);
    std::uint8_t frame[] = {9, 9};
    pool.sendPipe(frame, "门禁9", "", 30000, 1);
    EXPECT_TRUE(fx.waitFor(1));
    pool.close();
    EXPECT_EQ(pool.runningWorkers(), 0);
    EXPECT_EQ(fx.received().at(0).source, "127.0.0.9:65534");
    for (int i = 0; i < 50; ++i) {
        Pipe_Thread_Pool quick(*fx.settings, *fx.dispatcher, hooks());
        ASSERT_EQ(quick.start(), 0);
        quick.close();
        quick.wait();
        EXPECT_EQ(quick.runningWorkers(), 0);
    }
}
