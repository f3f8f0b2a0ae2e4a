#include <gtest/gtest.h>

#include "loopback_session.h"
#include "sample_frames.h"

using namespace quorvane;
using namespace quorvane::test;

// The refresh of a selected record (none, answered, silent) is seen through the door dialog
// that opens on it (door_edit_test); that the fresh record stays out of the list, in
// integration's concurrent refreshes.
// A search on another port once found its controllers there, and every later command went to
// the port read at start, where nobody answered.
TEST(DeviceRefresh, AfterASearchOnAnotherPortCommandsGoToThatPort) {
    LoopbackSession t{"device-refresh", 0};
    DeviceUIInfo current = sampleDevice(3);
    current.ip = "127.0.0.3";
    const int otherPort = testPort(7);
    UdpController controller("127.0.0.3", otherPort, [&](const SentFrame& f) {
        return std::vector{deviceInformation(f, current)};
    });
    ASSERT_TRUE(controller.ready());
    SearchRequest search;
    search.searchAddress = 0x7F000003;
    search.port = static_cast<std::uint16_t>(otherPort);
    search.remember = false;
    ASSERT_TRUE(t.s().search(search));
    ASSERT_EQ(controller.waitForFrames(1).size(), 1u);
    auto record = t.s().refreshDevice("127.0.0.3", 5000);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->name, current.name);
    EXPECT_EQ(record->sourceAddress, "127.0.0.3:" + std::to_string(otherPort));
    // The search's own answer may already settle the refresh, so the second frame is waited for.
    EXPECT_EQ(controller.waitForFrames(2).size(), 2u);
}
