// The batch runner against quorvane-sim over loopback, on a fake clock: a controller that
// loses the first two replies to every item still gets all of them, and a silent wait costs
// only the clock's grace in real time.
#include <gtest/gtest.h>

#include "fake_clock.h"
#include "integration_home.h"
#include "recording_user_port.h"
#include "session/tool_session.h"
#include "sim_dump_request.h"

using namespace quorvane;
using namespace quorvane::test;
using namespace std::chrono_literals;

TEST(EngineBatch, HundredItemsWhoseFirstTwoRepliesAreLostAllArrive) {
    IntegrationHome h;
    std::string dump = h.home + "/sim.json";
    ChildProcess sim({simPath(), "--port", std::to_string(h.port), "--count", "2", "--dump", dump,
                      "--fault", "drop-each:16:2"});
    ASSERT_TRUE(sim.waitForLine("ready"));
    // A reply on loopback comes within a millisecond; a lost one costs the grace.
    FakeClock clock(50ms);
    RecordingUserPort port;
    ToolSession session(h.home, port, &clock);
    session.start();
    session.log().setEcho(false);
    auto record = session.refreshDevice("127.0.0.2", 5000);
    ASSERT_TRUE(record);

    BatchPlan plan;
    plan.total = 100;
    plan.limits = limits::kRight;
    plan.next = [&](long i) -> std::optional<ExchangeRequest> {
        if (i >= 100)
            return std::nullopt;
        ExchangeRequest r;
        r.target = session.targetOf(*record);
        r.command = 16;
        // Door 1 for i x 10 ms: every item a payload of its own.
        r.payload = {1, 0, static_cast<std::uint8_t>(i + 1)};
        return r;
    };
    auto result = session.batchRunner().run(plan);
    session.stop();
    EXPECT_EQ(result.items, 100);
    EXPECT_EQ(result.succeeded, 100);
    EXPECT_TRUE(result.givenUp.empty());
    // Two lost replies per item: at least two resends each (a reply slower than the grace
    // would add one), and every resend is a lost five-second wait on the clock.
    EXPECT_GE(result.resends, 200);
    EXPECT_GE(clock.elapsed(), result.resends * limits::kRight.wait);
    EXPECT_TRUE(port.notices().empty());

    auto state = requestSimDump(sim, dump);
    ASSERT_TRUE(state);
    const auto& controller = simController(*state, "127.0.0.2");
    EXPECT_EQ(controller["requests"]["16"].integer(), result.items + result.resends);
}
