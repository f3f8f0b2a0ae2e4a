// tavrin as a pipe client and a flooded network meet it: relays reach exactly the controller a
// request names, nothing but request frames goes out and never to many controllers at once,
// searches end, clients do not hold one another, and a second service leaves the first alone.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "integration_home.h"
#include "pipe_client.h"
#include "played_searcher.h"
#include "protocol/admin_channel.h"
#include "recording_user_port.h"
#include "sample_frames.h"
#include "session/tool_session.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

// Sites keep default names: every controller's name is cut from this to the same 15 bytes.
const std::string kSharedNamePrefix = "门禁门禁门禁门禁";
const std::string kSharedName = "门禁门禁门禁门";
// The global ids quorvane-sim gives its first two controllers.
const std::string kFirstId = "2024000000000001";
const std::string kSecondId = "2024000000000002";

class TavrinRelay : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(sim.waitForLine("ready"));
        // Started once the controllers answer: its first search is all it knows them by.
        tavrin = std::make_unique<ChildProcess>(
            std::vector<std::string>{tavrinPath(), "--home", h.home, "--search-address",
                                     "127.255.255.255", "--quiet-ms", "300"});
        ASSERT_TRUE(tavrin->waitForLine("serving the pipe"));
    }
    std::string portText() const { return std::to_string(h.port); }
    std::string controller(int n) const {
        return "127.0.0." + std::to_string(n) + ":" + portText();
    }

    IntegrationHome h;
    ChildProcess sim{{simPath(), "--port", portText(), "--count", "2", "--name-prefix",
                      kSharedNamePrefix, "--verbose"},
                     true};
    std::unique_ptr<ChildProcess> tavrin;
    const std::string path = *platform::localPipePath("127.0.0.1", "itpipe");
};

TEST_F(TavrinRelay, TwoControllersNamedAlikeAreEachReachedByTheirGlobalId) {
    for (const auto& [id, expected] : {std::pair{kSecondId, 2}, std::pair{kFirstId, 1}}) {
        auto e = talk(path, relayRequest(kSharedName, id, 40));
        EXPECT_TRUE(e.ended);
        ASSERT_EQ(e.answers.size(), 1u) << id;
        EXPECT_EQ(readPipeAnswer(asBytes(e.answers[0])).value().sender, controller(expected));
    }
    // The name alone leads to two controllers, and an unknown id does not fall back on it.
    for (const auto& id : {std::string(), std::string("2024000000000099")}) {
        auto e = talk(path, relayRequest(kSharedName, id, 40));
        EXPECT_TRUE(e.ended);
        EXPECT_TRUE(e.answers.empty()) << id;
    }
    // Nor on an address it also carries: that once reached the controller at the address.
    EXPECT_TRUE(talk(path, relayRequest(controller(1), "2024000000000099", 40)).answers.empty());
}

// Controllers found only through the service: the command line lists them with the pipe mode,
// and the session addresses one through the service, an open-door request relayed by the
// controller's name and id, its reply coming back over the pipe.
TEST_F(TavrinRelay, DevicesFoundOnlyThroughThePipeAreListedAndAddressedThroughIt) {
    // The tool's own broadcast goes where nobody answers: every row comes through the service.
    auto rows = splitLines(h.cli({"search", "--pipe", "--to", "127.0.0.250", "--wait", "2500"}));
    ASSERT_EQ(rows.size(), 2u);
    for (const auto& row : rows)
        EXPECT_EQ(splitTabs(row).at(6), "0-正常/管道;");
    EXPECT_EQ(splitTabs(rows[0]).at(2), "127.0.0.1");
    // Without --pipe the service's controllers are not listed.
    EXPECT_EQ(h.cli({"search", "--to", "127.0.0.250", "--wait", "500"}), "");

    RecordingUserPort port;
    ToolSession session(h.home, port);
    session.start();
    session.log().setEcho(false);
    SearchRequest request;
    request.searchAddress = 0x7F0000FA; // 127.0.0.250: nobody
    request.port = static_cast<std::uint16_t>(h.port);
    request.listServiceDevices = true;
    ASSERT_TRUE(session.search(request));
    for (int i = 0; i < 200 && session.devices().size() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    auto devices = session.devices().snapshot();
    ASSERT_EQ(devices.size(), 2u);
    const DeviceUIInfo& device = devices[1];
    EXPECT_EQ(device.searchModes, kFoundByPipe);
    ExchangeRequest open;
    open.target = session.targetOf(device);
    EXPECT_EQ(open.target.route, Route::HostService);
    open.command = 16;
    open.payload = {1, 0, 50};
    auto outcome = session.exchange().run(open, ExchangeLimits{std::chrono::seconds(20), 1});
    session.stop();
    ASSERT_TRUE(outcome.answered());
    EXPECT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.reply->source, device.ip + ":" + portText());
}

// What is not a request frame is refused like these (garbage_test).
TEST_F(TavrinRelay, BroadcastMulticastAndAddresslessRelaysAreRefusedAndLogged) {
    for (const char* to : {"127.255.255.255", "255.255.255.255", "224.10.0.0", "0.0.0.0"}) {
        auto refused = talk(path, relayRequest(std::string(to) + ":" + portText(), "", 40));
        EXPECT_TRUE(refused.ended);
        EXPECT_TRUE(refused.answers.empty()) << to;
    }
    // A proper relay afterwards reaches the simulator; the refused ones never did. The service
    // logs in order, so its relay's line comes after the four refusals.
    ASSERT_EQ(talk(path, relayRequest(controller(2), "", 66)).answers.size(), 1u);
    ASSERT_TRUE(sim.waitForLine("request 66 "));
    EXPECT_EQ(sim.output().find("request 40 "), std::string::npos) << sim.output();
    ASSERT_TRUE(tavrin->waitForLine("relayed "));
    const std::string& log = tavrin->output();
    int refusals = 0;
    for (auto at = log.find(" refused"); at != std::string::npos; at = log.find(" refused", at + 1))
        ++refusals;
    EXPECT_EQ(refusals, 4) << log;
}

// An idle client does not delay another's relay; clients that ended while the service waited
// for the next one were still counted, and a full house of them made it refuse that next one;
// a second service on the pipe refuses and leaves the first answering.
TEST_F(TavrinRelay, ClientsDoNotHoldOneAnotherAndASecondServiceLeavesTheFirstAlone) {
    {
        platform::LocalPipe idle;
        ASSERT_TRUE(idle.connect(path));
        ASSERT_EQ(talk(path, relayRequest(controller(1), "", 40)).answers.size(), 1u);
        // Served while the idle client is still being waited on (it is let go only after its
        // first-read limit).
        EXPECT_FALSE(idle.hungUp());
    }
    std::vector<platform::LocalPipe> idle(32);
    for (auto& p : idle)
        ASSERT_TRUE(p.connect(path));
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // all taken, the next awaited
    idle.clear();
    std::this_thread::sleep_for(std::chrono::milliseconds(200)); // their serving threads end
    EXPECT_EQ(talk(path, relayRequest(controller(1), "", 40)).answers.size(), 1u);

    ChildProcess second({tavrinPath(), "--home", h.home, "--search-address", "127.255.255.255",
                         "--quiet-ms", "300"},
                        true);
    EXPECT_EQ(second.wait(), 1);
    EXPECT_NE(second.output().find("另一个服务正在提供这个管道"), std::string::npos)
        << second.output();
    auto found = talk(path, searchRequest());
    EXPECT_TRUE(found.ended);
    EXPECT_EQ(found.answers.size(), 2u);
}

// A search ends whatever keeps arriving: a search reply every half quiet time stops at the cap;
// one reply, then other datagrams without pause, do not keep it going.
TEST(TavrinSearch, EndsWhateverKeepsArriving) {
    for (bool replies : {true, false}) {
        IntegrationHome h;
        const std::string reply = deviceInfoReply(sampleDevice(1), false);
        PlayedSearcher chatty(static_cast<std::uint16_t>(testPort(2)),
                              [&] { return std::vector{reply}; }, {},
                              std::chrono::milliseconds(replies ? 200 : 50),
                              {replies ? reply : std::string("\xAA\xAA not a search reply")});
        ChildProcess tavrin({tavrinPath(), "--home", h.home, "--search-address", "127.0.0.42",
                             "--search-port", std::to_string(testPort(2)), "--quiet-ms", "400",
                             "--search-cap-ms", replies ? "1500" : "600000"});
        ASSERT_TRUE(tavrin.waitForLine("serving the pipe", std::chrono::seconds(60)));
        // Without an end the exchange would run past the limit and end without "xxx".
        auto e = talk(*platform::localPipePath("127.0.0.1", "itpipe"), searchRequest(),
                      std::chrono::seconds(20));
        EXPECT_TRUE(e.ended) << replies;
        EXPECT_FALSE(e.answers.empty());
    }
}

} // namespace
