#include <gtest/gtest.h>

#include <future>
#include <thread>

#include <ace/Message_Block.h>

#include "platform/datagram_batch.h"

#include "channel_fixture.h"
#include "protocol/admin_channel.h"
#include "protocol/pipe_channel.h"
#include "sample_frames.h"
#include "session/device_list.h"
#include "session/device_targets.h"

using namespace quorvane;
using namespace quorvane::test;
using platform::Ipv4Endpoint;
using platform::UdpSocket;

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;

struct Peer {
    Peer() {
        sock.open();
        sock.bind(kLoopback, 0);
    }
    Ipv4Endpoint endpoint() const { return *sock.localEndpoint(); }
    // One datagram, or nothing within the limit.
    std::optional<std::string> receive(int ms = 5000) {
        if (sock.waitReadable(nullptr, ms) != UdpSocket::Wait::Readable)
            return std::nullopt;
        std::vector<std::uint8_t> buf(2048);
        Ipv4Endpoint from;
        int n = sock.receiveFrom(buf, from);
        return std::string(buf.begin(), buf.begin() + n);
    }
    UdpSocket sock;
};

class AdminChannelTest : public ::testing::Test {
  protected:
    ChannelFixture fx{"local-admin-ip=127.0.0.1\nmcast-address=239.255.77.77\n"};
    AdminChannel channel{*fx.settings, *fx.dispatcher, 3366, 65534};
};

} // namespace

// "xxx" from another sender is no reply and does not close the socket; from our own it does.
TEST_F(AdminChannelTest, XxxFromOurOwnSocketClosesItAndASetupRecreatesIt) {
    ASSERT_EQ(channel.initAdminSocket(), 0);
    channel.startReceiveThread();
    auto self = *channel.localEndpoint();
    Peer peer;
    peer.sock.sendTo(asBytes("xxx"), self);
    peer.sock.sendTo(asBytes(replyFrame(17)), self);
    ASSERT_TRUE(fx.waitFor(1));
    EXPECT_EQ(fx.received()[0].source, peer.endpoint().text());
    EXPECT_TRUE(channel.hasSocket());
    EXPECT_EQ(channel.sendto_log(asBytes("xxx"), 0, DeviceTarget::at(self), kRouteUdp, 0, 0), 3);
    // No reply announces the socket closing: looked for in 1 ms steps.
    for (int i = 0; i < 10000 && channel.hasSocket(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_FALSE(channel.hasSocket());
    EXPECT_EQ(
        channel.sendto_log(asBytes(replyFrame(3)), 0, DeviceTarget::at(self), kRouteUdp, 0, 0), -1);

    // A set-up while the receiver waits moves it to the new socket.
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(channel.initAdminSocket(), 0);
    peer.sock.sendTo(asBytes(replyFrame(67)), *channel.localEndpoint());
    ASSERT_TRUE(fx.waitFor(2));
    EXPECT_EQ(fx.received()[1].code, 67);
    EXPECT_TRUE(fx.received()[1].viaUdp);
    EXPECT_EQ(channel.closeAdminSocket(), 0);
    EXPECT_FALSE(channel.hasSocket());
    EXPECT_EQ(channel.closeAdminSocket(), 0);
}

TEST_F(AdminChannelTest, BindFailureReportsItsText) {
    fx.settings->writeString("net", "local-admin-ip", "not-an-address");
    EXPECT_EQ(channel.initAdminSocket(), -1);
    EXPECT_EQ(channel.lastError(), "绑定端口并监听失败！");
    // The socket stays open and still sends, from a port the system chose.
    EXPECT_TRUE(channel.hasSocket());
    Peer peer;
    EXPECT_EQ(
        channel.sendto_log(asBytes("abc"), 0, DeviceTarget::at(peer.endpoint()), kRouteUdp, 0, 0),
        3);
    EXPECT_EQ(peer.receive(), "abc");
}

// Without a socket the receiver sleeps until a set-up or a stop wakes it; a wake-up it has
// had must not wake it again, or after a stop and a failed restart the loop would spin.
TEST_F(AdminChannelTest, WithoutASocketTheReceiverSleepsUntilTheNextWakeUp) {
    channel.closeAdminSocket();
    platform::DatagramBatch batch(1, 64);
    EXPECT_EQ(channel.receiveDatagram(batch), 0);
    auto next = std::async(std::launch::async, [&] { return channel.receiveDatagram(batch); });
    EXPECT_EQ(next.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
    ASSERT_EQ(channel.initAdminSocket(), 0);
    EXPECT_EQ(next.get(), 0);
}

TEST_F(AdminChannelTest, RouteFollowsHowTheTargetDeviceWasFound) {
    ASSERT_EQ(channel.initAdminSocket(), 0);
    Pipe_Thread_Pool pool(*fx.settings, *fx.dispatcher); // no worker: frames stay queued
    channel.setPipe(&pool);
    Peer controller;
    const std::string frameText = "FRAME";
    auto frame = asBytes(frameText);
    auto takeQueued = [&pool] {
        ACE_Message_Block* mb = nullptr;
        pool.getq(mb);
        PipeMessage m = *reinterpret_cast<PipeMessage*>(mb->base());
        delete reinterpret_cast<PipeMessage*>(mb->base());
        mb->release();
        return m;
    };

    DeviceUIInfo onlyPipe = sampleDevice(3);
    onlyPipe.ip = "127.0.0.1";
    onlyPipe.searchModes = kFoundByPipe;
    DeviceTarget viaService = targetOf(onlyPipe, controller.endpoint().port);
    EXPECT_EQ(channel.sendto_log(frame, 0, viaService, kRouteByDevice, 0, 1), 5);
    ASSERT_EQ(pool.msg_queue()->message_count(), 1u);
    PipeMessage message = takeQueued();
    EXPECT_EQ(message.address, onlyPipe.name);
    EXPECT_EQ(message.identity, onlyPipe.getGlobalId());
    EXPECT_EQ(message.waitFlag, 1);
    EXPECT_FALSE(controller.receive(50));

    // Found by broadcast as well: UDP. Route 0 forces UDP, route 1 the pipe.
    DeviceUIInfo both = onlyPipe;
    both.searchModes = kFoundByPipe | kFoundByBroadcast;
    DeviceTarget direct = targetOf(both, controller.endpoint().port);
    direct.endpoint = controller.endpoint();
    EXPECT_EQ(channel.sendto_log(frame, 0, direct, kRouteByDevice, 0, 1), 5);
    EXPECT_EQ(controller.receive(), "FRAME");
    viaService.endpoint = controller.endpoint();
    EXPECT_EQ(channel.sendto_log(frame, 0, viaService, kRouteUdp, 0, 1), 5);
    EXPECT_EQ(controller.receive(), "FRAME");
    EXPECT_EQ(pool.msg_queue()->message_count(), 0u);

    // A bare address forced through the pipe names the destination.
    DeviceTarget bare;
    bare.endpoint = {0x7F000005, 65534};
    channel.sendto_log(frame, 0, bare, kRoutePipe, 3000, 0);
    message = takeQueued();
    EXPECT_EQ(message.address, "127.0.0.5:65534");
    EXPECT_EQ(message.identity, "");
    EXPECT_EQ(message.timeoutMs, 3000);
}

// Its refusal is the config save's NoAddress row; a device's id, every command's target.
TEST(PrepareDevAddress, TakesTheTextBeforeTheColonOnTheDevicePort) {
    auto t = prepareDevAddress("127.0.0.9:3366", nullptr, 65534, nullptr);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->endpoint.text(), "127.0.0.9:65534");
    EXPECT_EQ(t->targetId, 0xFFFF);
}

TEST_F(AdminChannelTest, SearchTargetsAndTheInterfaceChoiceThatJoinsTheGroupOnLoopback) {
    fx.settings->writeString("net", "local-admin-ip", ""); // bound to every address
    EXPECT_EQ(channel.configuredSearchTarget(false).destination.text(), "255.255.255.255:65534");
    ASSERT_EQ(channel.initAdminSocket(), 0); // reads the group text
    channel.startReceiveThread();
    auto target = channel.applyMulticastMode(true, "127.0.0.1");
    EXPECT_TRUE(target.multicast);
    EXPECT_EQ(target.destination.text(), "239.255.77.77:3366");
    EXPECT_EQ(fx.settings->readString("net", "enable-mcast"), "1");
    EXPECT_EQ(fx.settings->readString("net", "mcast-local-address"), "127.0.0.1");

    Peer peer;
    ASSERT_TRUE(peer.sock.setMulticastInterface(kLoopback));
    auto group = *platform::parseIpv4("239.255.77.77");
    peer.sock.sendTo(asBytes(replyFrame(3)), {group, channel.localEndpoint()->port});
    ASSERT_TRUE(fx.waitFor(1));
    fx.settings->writeString("net", "mcast-dev-admin-port", "4000");
    EXPECT_EQ(channel.configuredSearchTarget(true).destination.port, 4000);
    channel.applyMulticastMode(false, "");
    EXPECT_EQ(fx.settings->readString("net", "enable-mcast"), "0");
}
