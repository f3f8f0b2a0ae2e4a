#include <gtest/gtest.h>

#include <thread>

#include <ace/Message_Block.h>

#include "protocol/admin_channel.h"
#include "protocol/pipe_channel.h"
#include "recording_user_port.h"
#include "sample_frames.h"
#include "session/device_list.h"
#include "transport_fixture.h"

using namespace quorvane;
using namespace quorvane::test;
using platform::Ipv4Endpoint;
using platform::UdpSocket;

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;

// Waits for a state that no reply announces (the socket closing), in 1 ms steps.
template <class F> bool eventually(F condition) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

struct Peer {
    Peer() {
        sock.open();
        sock.bind(kLoopback, 0);
    }
    Ipv4Endpoint endpoint() const { return *sock.localEndpoint(); }
    // One datagram, or nothing within the limit.
    std::optional<std::string> receive(int ms = 5000) {
        if (sock.waitReadable(nullptr, ms) != UdpSocket::Wait::Readable) return std::nullopt;
        std::vector<std::uint8_t> buf(2048);
        Ipv4Endpoint from;
        int n = sock.receiveFrom(buf, from);
        return std::string(buf.begin(), buf.begin() + n);
    }
    UdpSocket sock;
};

class AdminChannelTest : public ::testing::Test {
protected:
    explicit AdminChannelTest(const std::string& net = "local-admin-ip=127.0.0.1\n"
                                                       "mcast-address=239.255.77.77\n")
        : fx(net), channel(*fx.settings, *fx.dispatcher, 3366, 65534) {}
    TransportFixture fx;
    AdminChannel channel;
};

} // namespace

TEST_F(AdminChannelTest, ReceiveThreadHandsEveryDatagramToTheReplyHandler) {
    ASSERT_EQ(channel.initAdminSocket(), 0);
    channel.startReceiveThread();
    Peer peer;
    peer.sock.sendTo(asBytes(replyFrame(17)), *channel.localEndpoint());
    ASSERT_EQ(fx.arrived.wait(std::chrono::seconds(10)), 1);
    auto got = fx.received();
    EXPECT_EQ(got[0].code, 17);
    EXPECT_EQ(got[0].source, peer.endpoint().text());
    EXPECT_TRUE(got[0].viaUdp);
    EXPECT_EQ(channel.closeAdminSocket(), 0);
    EXPECT_FALSE(channel.hasSocket());
    EXPECT_EQ(channel.closeAdminSocket(), 0);
}

TEST_F(AdminChannelTest, XxxFromAnotherSenderDoesNotCloseTheSocket) {
    ASSERT_EQ(channel.initAdminSocket(), 0);
    channel.startReceiveThread();
    Peer peer;
    peer.sock.sendTo(asBytes("xxx"), *channel.localEndpoint());
    peer.sock.sendTo(asBytes(replyFrame(41)), *channel.localEndpoint());
    ASSERT_EQ(fx.arrived.wait(std::chrono::seconds(10)), 1);
    EXPECT_EQ(fx.received()[0].code, 41);
    EXPECT_TRUE(channel.hasSocket());
}

TEST_F(AdminChannelTest, XxxFromOurOwnSocketClosesItAndASetupRecreatesIt) {
    ASSERT_EQ(channel.initAdminSocket(), 0);
    channel.startReceiveThread();
    auto self = *channel.localEndpoint();
    EXPECT_EQ(channel.sendto_log(asBytes("xxx"), 0, self, kRouteUdp, 0, 0), 3);
    ASSERT_TRUE(eventually([&] { return !channel.hasSocket(); }));
    EXPECT_EQ(channel.sendto_log(asBytes(replyFrame(3)), 0, self, kRouteUdp, 0, 0), -1);

    ASSERT_EQ(channel.initAdminSocket(), 0);
    Peer peer;
    peer.sock.sendTo(asBytes(replyFrame(67)), *channel.localEndpoint());
    ASSERT_EQ(fx.arrived.wait(std::chrono::seconds(10)), 1);
    EXPECT_EQ(fx.received()[0].code, 67);
}

TEST_F(AdminChannelTest, SetupWhileTheReceiverWaitsMovesItToTheNewSocket) {
    ASSERT_EQ(channel.initAdminSocket(), 0);
    channel.startReceiveThread();
    for (int i = 0; i < 5; ++i) ASSERT_EQ(channel.initAdminSocket(), 0);
    Peer peer;
    peer.sock.sendTo(asBytes(replyFrame(39)), *channel.localEndpoint());
    ASSERT_EQ(fx.arrived.wait(std::chrono::seconds(10)), 1);
}

TEST_F(AdminChannelTest, BindFailureReportsItsText) {
    fx.settings->writeString("net", "local-admin-ip", "not-an-address");
    EXPECT_EQ(channel.initAdminSocket(), -1);
    EXPECT_EQ(channel.lastError(), "绑定端口并监听失败！");
    // The socket stays open and still sends, from a port the system chose.
    EXPECT_TRUE(channel.hasSocket());
    Peer peer;
    EXPECT_EQ(channel.sendto_log(asBytes("abc"), 0, peer.endpoint(), kRouteUdp, 0, 0), 3);
    EXPECT_EQ(peer.receive(), "abc");
}

TEST_F(AdminChannelTest, RouteFollowsHowTheCurrentDeviceWasFound) {
    ASSERT_EQ(channel.initAdminSocket(), 0);
    DeviceList devices;
    RecordingUserPort port;
    Pipe_Thread_Pool pool(*fx.settings, *fx.dispatcher, devices, &port);  // no worker: frames stay queued
    channel.setPipe(&pool);
    Peer controller;
    const std::string frameText = "FRAME";
    auto frame = asBytes(frameText);

    DeviceUIInfo onlyPipe = sampleDevice(3);
    onlyPipe.searchModes = kFoundByPipe;
    channel.setCurrentDevice(onlyPipe);
    EXPECT_EQ(channel.sendto_log(frame, 0, controller.endpoint(), kRouteByDevice, 0, 1), 5);
    ASSERT_EQ(pool.msg_queue()->message_count(), 1u);
    ACE_Message_Block* mb = nullptr;
    pool.getq(mb);
    auto* message = reinterpret_cast<PipeMessage*>(mb->base());
    EXPECT_EQ(message->address, onlyPipe.name);
    EXPECT_EQ(message->identity, onlyPipe.getGlobalId());
    EXPECT_EQ(message->waitFlag, 1);
    delete message;
    mb->release();
    EXPECT_FALSE(controller.receive(50));

    // Found by broadcast as well: UDP. Route 0 forces UDP, route 1 the pipe.
    DeviceUIInfo both = onlyPipe;
    both.searchModes = kFoundByPipe | kFoundByBroadcast;
    channel.setCurrentDevice(both);
    EXPECT_EQ(channel.sendto_log(frame, 0, controller.endpoint(), kRouteByDevice, 0, 1), 5);
    EXPECT_EQ(controller.receive(), "FRAME");
    channel.setCurrentDevice(onlyPipe);
    EXPECT_EQ(channel.sendto_log(frame, 0, controller.endpoint(), kRouteUdp, 0, 1), 5);
    EXPECT_EQ(controller.receive(), "FRAME");
    EXPECT_EQ(pool.msg_queue()->message_count(), 0u);

    // Without a current device the pipe's address text is the destination.
    channel.setCurrentDevice(std::nullopt);
    channel.sendto_log(frame, 0, {0x7F000005, 65534}, kRoutePipe, 3000, 0);
    pool.getq(mb);
    message = reinterpret_cast<PipeMessage*>(mb->base());
    EXPECT_EQ(message->address, "127.0.0.5:65534");
    EXPECT_EQ(message->identity, "");
    EXPECT_EQ(message->timeoutMs, 3000);
    delete message;
    mb->release();
}

TEST_F(AdminChannelTest, SearchTargetsDefaultToTheShippedAddresses) {
    auto broadcast = channel.configuredSearchTarget(false);
    EXPECT_EQ(broadcast.destination.text(), "255.255.255.255:65534");
    ASSERT_EQ(channel.initAdminSocket(), 0);  // reads the group text
    auto multicast = channel.configuredSearchTarget(true);
    EXPECT_EQ(multicast.destination.text(), "239.255.77.77:3366");
    fx.settings->writeString("net", "mcast-dev-admin-port", "4000");
    EXPECT_EQ(channel.configuredSearchTarget(true).destination.port, 4000);
}

TEST_F(AdminChannelTest, PrepareDevAddressTakesTheTextBeforeTheColonOnTheDevicePort) {
    EXPECT_FALSE(channel.prepareDevAddress("", std::nullopt));
    auto e = channel.prepareDevAddress("127.0.0.9:3366", sampleDevice(1));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->text(), "127.0.0.9:65534");
    EXPECT_EQ(channel.currentDevice()->name, sampleDevice(1).name);
}

class MulticastChannel : public AdminChannelTest {
protected:
    MulticastChannel() : AdminChannelTest("mcast-address=239.255.77.77\n") {}
};

TEST_F(MulticastChannel, InterfaceChoiceJoinsTheGroupOnLoopback) {
    ASSERT_EQ(channel.initAdminSocket(), 0);
    channel.startReceiveThread();
    auto target = channel.applyMulticastMode(true, "127.0.0.1");
    EXPECT_TRUE(target.multicast);
    EXPECT_EQ(fx.settings->readString("net", "enable-mcast"), "1");
    EXPECT_EQ(fx.settings->readString("net", "mcast-local-address"), "127.0.0.1");

    Peer peer;
    ASSERT_TRUE(peer.sock.setMulticastInterface(kLoopback));
    auto group = *platform::parseIpv4("239.255.77.77");
    peer.sock.sendTo(asBytes(replyFrame(3)), {group, channel.localEndpoint()->port});
    ASSERT_EQ(fx.arrived.wait(std::chrono::seconds(10)), 1);
    channel.applyMulticastMode(false, "");
    EXPECT_EQ(fx.settings->readString("net", "enable-mcast"), "0");
}
