// The engine's receive and handling threads under two callers at once, against quorvane-sim over
// loopback.
#include <gtest/gtest.h>

#include <future>

#include "recording_user_port.h"
#include "remote_sim.h"
#include "session/tool_session.h"

using namespace quorvane;
using namespace quorvane::test;

// Two operations on two threads, each with its own target: every reply reaches the exchange
// that asked for it, never the other.
TEST(RemoteThreads, TwoThreadsRefreshingTwoControllersEachGetTheirOwn) {
    RemoteSim s;
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    RecordingUserPort port;
    ToolSession session(s.h.home, port);
    session.start();
    session.log().setEcho(false);
    auto refreshMany = [&](const std::string& ip, const std::string& name) {
        int right = 0;
        for (int i = 0; i < 100; ++i) {
            auto record = session.refreshDevice(ip, 5000);
            right += record && record->name == name && record->ip == ip;
        }
        return right;
    };
    auto a = std::async(std::launch::async, refreshMany, "127.0.0.2", "门禁2");
    auto b = std::async(std::launch::async, refreshMany, "127.0.0.3", "门禁3");
    EXPECT_EQ(a.get(), 100);
    EXPECT_EQ(b.get(), 100);
    EXPECT_EQ(session.dispatcher().slotCount(), 0u);
    EXPECT_EQ(session.devices().size(), 0u);
    session.stop();
}
