#include <gtest/gtest.h>

#include <thread>

#include "basic_block_golden.h"
#include "protocol/reply_dispatch.h"
#include "sample_frames.h"
#include "session/device_list.h"
#include "session/search_reply.h"
#include "test_paths.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

class SearchReplies : public ::testing::Test {
  protected:
    SearchReplies()
        : dir(scratchDir("search")),
          dispatcher(nullptr, dir, [this](const std::string& t) { notices.push_back(t); }),
          devices(DeviceListOptions{true, 1, true}), handler(dispatcher, devices, 3366) {}

    int reply(const DeviceUIInfo& d, const std::string& source, bool viaUdp) {
        return dispatcher.handleReply(asBytes(deviceInfoReply(d, false)), source, viaUdp);
    }

    std::string dir;
    std::vector<std::string> notices;
    ReplyDispatcher dispatcher;
    DeviceList devices;
    SearchReplyHandler handler;
};

} // namespace

TEST_F(SearchReplies, SenderDecidesHowTheControllerWasFound) {
    reply(sampleDevice(1), "192.168.1.1:65534", true);
    reply(sampleDevice(2), "192.168.1.2:3366", true);
    reply(sampleDevice(3), "192.168.1.3:65534", false);
    auto rows = devices.snapshot();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].searchModes, kFoundByBroadcast);
    EXPECT_EQ(rows[1].searchModes, kFoundByMulticast);
    EXPECT_EQ(rows[2].searchModes, kFoundByPipe);
    EXPECT_EQ(rows[1].sourceAddress, "192.168.1.2:3366");
    EXPECT_TRUE(notices.empty());

    // Pipe then broadcast: one row, found by broadcast; broadcast then pipe: two.
    const DeviceUIInfo d = sampleDevice(4);
    for (bool pipeFirst : {true, false}) {
        ASSERT_TRUE(devices.tryClear());
        reply(d, "192.168.1.4:65534", !pipeFirst);
        reply(d, "192.168.1.4:65534", pipeFirst);
        rows = devices.snapshot();
        ASSERT_EQ(rows.size(), pipeFirst ? 1u : 2u);
        EXPECT_EQ(rows[0].getSearchMode(), "广播;");
    }
}

TEST_F(SearchReplies, ControllersFoundOnlyThroughTheServiceAreDroppedUnlessListed) {
    devices.setListServiceDevices(false);
    int changed = 0;
    handler.setListChangedCallback([&] { ++changed; });
    reply(sampleDevice(5), "192.168.1.5:65534", false);
    EXPECT_EQ(devices.size(), 0u);
    reply(sampleDevice(5), "192.168.1.5:65534", true);
    EXPECT_EQ(devices.size(), 1u);
    EXPECT_EQ(changed, 1);
    devices.setListServiceDevices(true);
    reply(sampleDevice(6), "192.168.1.6:65534", false);
    EXPECT_EQ(devices.size(), 2u);
}

TEST_F(SearchReplies, BrokenBlocksLeaveTheirCaptureAndNotice) {
    for (bool extended : {false, true}) {
        DeviceUIInfo d = sampleDevice(6);
        d.blockVersion = extended ? 1 : 0;
        d.extMarker = extended ? kExtendedMarker : d.extMarker;
        std::string frame = deviceInfoReply(d, extended);
        frame[32 + (extended ? 191 : 115)] ^= 1; // the block's own sum
        refreshChecksum(frame);
        EXPECT_EQ(dispatcher.handleReply(asBytes(frame), "1.2.3.4:65534", true), -1);
        EXPECT_EQ(readFile(dir + (extended ? "/Error-sum-v2.bin" : "/Error-sum-v1.bin")), frame);
    }
    EXPECT_EQ(notices, (std::vector<std::string>{"配置数据检验和失败（V1）！",
                                                 "配置数据检验和失败（V2）！"}));
    EXPECT_EQ(devices.size(), 0u);
}

TEST_F(SearchReplies, ARefreshTakesItsReplyInsteadOfTheList) {
    {
        ReplyInterest refresh;
        refresh.codes = {3};
        refresh.consume = true;
        refresh.accept = [](const Reply& r) { return r.source == "192.168.1.8:65534"; };
        ReplySubscription waiting(dispatcher, std::move(refresh));
        reply(sampleDevice(8), "192.168.1.8:65534", true);
        reply(sampleDevice(9), "192.168.1.9:65534", true); // another sender: a list row
        auto taken = waiting.slot().tryTake();
        ASSERT_TRUE(taken);
        EXPECT_EQ(taken->source, "192.168.1.8:65534");
        EXPECT_EQ(devices.size(), 1u);
    }
    // The scope ended: the same sender's reply is a list row again.
    EXPECT_EQ(dispatcher.slotCount(), 0u);
    reply(sampleDevice(8), "192.168.1.8:65534", true);
    EXPECT_EQ(devices.size(), 2u);
}

TEST_F(SearchReplies, RepliesFromTwoThreadsAllLandInOrder) {
    auto send = [&](int first, bool viaUdp) {
        for (int i = first; i <= 100; i += 2) {
            DeviceUIInfo d = sampleDevice(i);
            d.ip = "10.0.0." + std::to_string(i);
            reply(d, d.ip + ":65534", viaUdp);
        }
    };
    std::thread udp(send, 1, true), pipe(send, 2, false);
    udp.join();
    pipe.join();
    auto rows = devices.snapshot();
    ASSERT_EQ(rows.size(), 100u);
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].ip, "10.0.0." + std::to_string(i + 1));
}

// A basic reply is 540 payload bytes; one that declares 539 lacks the last door byte, and the
// byte after its payload is its checksum, not that door byte: refused, though a whole block
// follows in the datagram.
TEST_F(SearchReplies, ABlockIsReadOnlyWithinTheFramesDeclaredLength) {
    std::string frame = goldenReply(false);
    frame[30] = 539 >> 8;
    frame[31] = 539 & 0xFF;
    std::string declared = frame.substr(0, 32 + 539) + '\0';
    refreshChecksum(declared);
    frame[32 + 539] = declared.back();
    EXPECT_EQ(dispatcher.handleReply(asBytes(frame), "1.2.3.4:65534", true), -1);
    EXPECT_EQ(notices, std::vector<std::string>{"从返回消息解析设备信息失败！"});
    EXPECT_EQ(devices.size(), 0u);

    // Bytes after a whole frame are no part of it: the reply still lists its controller.
    std::string trailing = goldenReply(false) + std::string(90, '\xEE');
    EXPECT_EQ(dispatcher.handleReply(asBytes(trailing), "192.168.1.12:65534", true), 0);
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices.snapshot()[0], [] {
        DeviceUIInfo d = goldenRecord(false);
        d.searchModes = kFoundByBroadcast;
        d.sourceAddress = "192.168.1.12:65534";
        return d;
    }());
}
