#include <gtest/gtest.h>

#include "loopback_session.h"
#include "sample_frames.h"

using namespace quorvane;
using namespace quorvane::test;
using namespace std::chrono_literals;

namespace {
// A session and the record of the controller at 127.0.0.3 that the tests play.
struct DeviceRefresh : ::testing::Test {
    DeviceRefresh() { current.ip = "127.0.0.3"; }
    UdpController::Script answer() {
        return [this](const SentFrame& f) { return std::vector{deviceInformation(f, current)}; };
    }

    LoopbackSession t{"device-refresh", 0};
    DeviceUIInfo current = sampleDevice(3);
};
} // namespace

// The refresh of a selected record (none, answered, silent) is seen through the door dialog
// that opens on it (door_edit_test).
TEST_F(DeviceRefresh, TheFreshRecordComesFromItsAddressWithoutEnteringTheList) {
    UdpController controller("127.0.0.3", t.port, answer());
    ASSERT_TRUE(controller.ready());

    auto record = t.s().refreshDevice("127.0.0.3", 5000);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->name, current.name);
    EXPECT_EQ(record->sourceAddress, "127.0.0.3:" + std::to_string(t.port));
    EXPECT_EQ(t.s().devices().size(), 0u);
    EXPECT_FALSE(t.s().refreshDevice("127.0.0.99", 300));
}

// A search on another port once found its controllers there, and every later command went to
// the port read at start, where nobody answered.
TEST_F(DeviceRefresh, AfterASearchOnAnotherPortCommandsGoToThatPort) {
    const int otherPort = testPort(7);
    UdpController controller("127.0.0.3", otherPort, answer());
    ASSERT_TRUE(controller.ready());
    SearchRequest search;
    search.searchAddress = 0x7F000003;
    search.port = static_cast<std::uint16_t>(otherPort);
    search.remember = false;
    ASSERT_TRUE(t.s().search(search));
    ASSERT_EQ(controller.waitForFrames(1).size(), 1u);
    EXPECT_TRUE(t.s().refreshDevice("127.0.0.3", 5000));
    // The search's own answer may already settle the refresh, so the second frame is waited for.
    EXPECT_EQ(controller.waitForFrames(2).size(), 2u);
}
