// Ctrl-C during a batch: the process once died with a card on the controller and out of the
// grant log, and the unsent cards recorded nowhere.
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>

#include "integration_home.h"
#include "platform/stop_signals.h"
#include "sample_frames.h"
#include "udp_controller.h"

using namespace quorvane;
using namespace quorvane::test;

TEST(StopSignal, ABatchEndsAsACancelledOneWithTheUnsentCardsListed) {
    IntegrationHome h;
    DeviceUIInfo record = sampleDevice(4);
    record.ip = "127.0.0.2";
    std::atomic<int> adds{0};
    UdpController controller("127.0.0.2", h.port, [&](const SentFrame& f) {
        if (f.info.command == 2)
            return std::vector{deviceInformation(f, record)};
        if (++adds == 2)
            std::raise(SIGINT); // pressed while the second card is on its way
        return std::vector{replyTo(f)};
    });
    ASSERT_TRUE(controller.ready());
    platform::catchStopSignals();
    std::string out = h.cli({"rights", "add", "-d", "127.0.0.2", "11", "12", "13", "14"});
    platform::clearStopSignal();
    EXPECT_EQ(out.rfind("操作已取消！\n添加权限：共4，", 0), 0u) << out;
    EXPECT_LT(adds.load(), 4);
    EXPECT_NE(readFile(h.home + "/添加权限失败清单.txt").find("14"), std::string::npos);
}
