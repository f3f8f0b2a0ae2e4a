// tavrin over real loopback sockets and its pipe: relays reach exactly the controller a request
// names, nothing but request frames goes out and never to many controllers at once, searches
// end, clients do not hold one another, a second service leaves the first alone, and after
// garbage (malformed and oversized datagrams, broken pipe requests, clients that hang up or stop
// reading) it still answers a proper request.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <random>
#include <thread>

#include "integration_home.h"
#include "platform/local_pipe.h"
#include "platform/udp_socket.h"
#include "protocol/admin_channel.h"
#include "protocol/frame.h"
#include "protocol/pipe_message.h"
#include "recording_user_port.h"
#include "sample_frames.h"
#include "session/tool_session.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

// The tool's side of the host-service pipe, spelled out for tests that talk to tavrin
// directly: one request per connection, answers until "xxx".
struct PipeExchange {
    std::vector<std::string> answers;
    bool ended = false; // "xxx" came
};

// Sends one message on a new connection and reads its answers until "xxx", the service hangs
// up or the limit passes.
PipeExchange talk(const std::string& path, const std::string& message,
                  std::chrono::seconds limit = std::chrono::seconds(30)) {
    PipeExchange e;
    platform::LocalPipe pipe;
    if (!pipe.connect(path) || !pipe.write(asBytes(message)))
        return e;
    std::vector<std::uint8_t> buffer(kPipeBufferSize);
    const auto until = std::chrono::steady_clock::now() + limit;
    for (;;) {
        auto r = pipe.read(buffer, until);
        if (r.status != platform::LocalPipe::Status::Message)
            return e;
        std::string a(reinterpret_cast<char*>(buffer.data()), r.size);
        if (a == kPipeEndAnswer) {
            e.ended = true;
            return e;
        }
        e.answers.push_back(a);
    }
}

// A relay of payload to the controller the texts name.
std::string relayOf(const std::string& address, const std::string& identity, std::string payload,
                    std::uint32_t timeoutMs = 3000, std::uint32_t waitFlag = 1) {
    return buildPipeRequest({address, identity, timeoutMs, waitFlag, kPipeRelay, payload});
}

// A relay of one request frame (command, no payload).
std::string relayRequest(const std::string& address, const std::string& identity,
                         std::uint8_t command, std::uint32_t timeoutMs = 3000,
                         std::uint32_t waitFlag = 1) {
    ProtocolState state;
    return relayOf(address, identity, buildRequest(kAnyTarget, command, {}, state), timeoutMs,
                   waitFlag);
}

// A search through the service, as the tool sends it: a request that names no controller.
std::string searchRequest() {
    return relayRequest("", "", 2);
}

// A controller at 127.0.0.42 played by the test for the service's searches, sending what no
// simulator sends: every datagram it gets is answered with the datagrams of answer() (a pause
// of `gap` after each), and every `period` the datagrams of `every` go to each who has asked.
class PlayedSearcher {
  public:
    using Clock = std::chrono::steady_clock;
    PlayedSearcher(std::uint16_t port, std::function<std::vector<std::string>()> answer,
                   std::chrono::milliseconds gap = {}, std::chrono::milliseconds period = {},
                   std::vector<std::string> every = {})
        : endpoint{*platform::parseIpv4("127.0.0.42"), port}, answer_(std::move(answer)), gap_(gap),
          period_(period), every_(std::move(every)) {
        socket_.open();
        socket_.bind(endpoint.address, port);
        thread_ = std::thread([this] { run(); });
    }
    ~PlayedSearcher() {
        stop_.signal();
        thread_.join();
    }
    const platform::Ipv4Endpoint endpoint;

  private:
    void run() {
        std::vector<platform::Ipv4Endpoint> askers;
        std::vector<std::uint8_t> buffer(65536);
        auto next = Clock::now() + period_;
        for (;;) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now());
            const auto w = socket_.waitReadable(
                &stop_,
                period_.count() ? static_cast<int>(std::max<long long>(0, left.count())) : -1);
            if (w == platform::UdpSocket::Wait::Error || stop_.wait(0))
                return;
            platform::Ipv4Endpoint from;
            if (w == platform::UdpSocket::Wait::Readable &&
                socket_.receiveFrom(buffer, from) >= 0) {
                askers.push_back(from);
                for (const auto& d : answer_()) {
                    socket_.sendTo(asBytes(d), from);
                    std::this_thread::sleep_for(gap_);
                }
            }
            if (period_.count() && Clock::now() >= next) {
                for (const auto& to : askers)
                    for (const auto& d : every_)
                        socket_.sendTo(asBytes(d), to);
                next = Clock::now() + period_;
            }
        }
    }
    std::function<std::vector<std::string>()> answer_;
    std::chrono::milliseconds gap_, period_;
    std::vector<std::string> every_;
    platform::UdpSocket socket_;
    platform::Wakeup stop_;
    std::thread thread_;
};

std::string randomBytes(std::mt19937& rng, std::size_t n) {
    std::string s(n, '\0');
    for (auto& c : s)
        c = static_cast<char>(rng() & 0xFF);
    return s;
}

// The head of a reply frame: target 1, sequence 1, the code, status 1 and the length field.
std::string frameHeader(std::uint8_t code, std::uint16_t length) {
    std::string f = std::string(16, '\xAA') + std::string(8, '\xFF') + std::string("\0\1\1\0", 4);
    for (int b : {int(code), 1, length >> 8, length & 0xFF})
        f += static_cast<char>(b);
    return f;
}

// Datagrams prefixed like a controller's replies that no controller would send.
std::vector<std::string> garbageDatagrams() {
    std::mt19937 rng(7);
    std::vector<std::string> g = {"", "x", "xxx", "\xAA", std::string(32, '\xAA')};
    g.push_back(frameHeader(2, 0xFFFF));                         // length past the end
    g.push_back(frameHeader(3, 10) + std::string(11, '\x01'));   // short block
    g.push_back(frameHeader(3, 540) + std::string(541, '\x7F')); // bad sums
    g.push_back(frameHeader(14, 3) + "abc\x01");                 // bad checksum
    g.push_back(frameHeader(4, 20000) + randomBytes(rng, 20001));
    for (std::size_t n : {33u, 700u, 1500u, 19999u, 20001u, 65507u})
        g.push_back(randomBytes(rng, n));
    return g;
}

TEST(Garbage, TavrinSurvivesBrokenRequestsAndClientsThatHangUpOrStopReading) {
    IntegrationHome h;
    // Every request is answered with the garbage, a proper search reply and `burst` large
    // search replies (code 3, so that a search passes them on).
    std::atomic<int> burst{0};
    const std::string validReply = deviceInfoReply(sampleDevice(1), false);
    PlayedSearcher controller(
        static_cast<std::uint16_t>(testPort(1)),
        [&] {
            auto g = garbageDatagrams();
            g.push_back(validReply);
            g.insert(g.end(), static_cast<std::size_t>(burst.load()),
                     frameHeader(3, 16000) + std::string(16001, 'f'));
            return g;
        },
        std::chrono::milliseconds(1));
    ChildProcess tavrin(std::vector<std::string>{
        tavrinPath(), "--home", h.home, "--search-address", "127.0.0.42", "--search-port",
        std::to_string(controller.endpoint.port), "--quiet-ms", "1000", "--relay-cap-ms", "500"});
    ASSERT_TRUE(tavrin.waitForLine("serving the pipe"));
    const std::string path = *platform::localPipePath("127.0.0.1", "itpipe");

    { // connects and hangs up at once; connects, sends half a search and hangs up
        platform::LocalPipe p;
        ASSERT_TRUE(p.connect(path));
        platform::LocalPipe q;
        ASSERT_TRUE(q.connect(path));
        q.write(asBytes(searchRequest()));
    }
    EXPECT_TRUE(talk(path, "short").ended);
    EXPECT_TRUE(talk(path, std::string(30000, '\x01')).ended); // longer than the buffer
    PipeRequest unknownKind;
    unknownKind.kind = 7;
    EXPECT_TRUE(talk(path, buildPipeRequest(unknownKind)).ended);
    EXPECT_TRUE(talk(path, relayOf("no such controller", "", "junk")).ended);
    // Shorter than a frame, or long enough to look like one but none: refused, nothing sent
    // (the controller here answers whatever reaches it).
    for (const char* notAFrame :
         {"garbage", "not a frame at all, but long enough to look like one."}) {
        auto refused = talk(path, relayOf(controller.endpoint.text(), "", notAFrame));
        EXPECT_TRUE(refused.ended);
        EXPECT_TRUE(refused.answers.empty()) << notAFrame;
    }
    auto relayed = talk(path, relayRequest(controller.endpoint.text(), "", 40));
    EXPECT_TRUE(relayed.ended);
    EXPECT_EQ(relayed.answers.size(), 1u);

    const std::string silent = "127.0.0.43:" + std::to_string(controller.endpoint.port);
    { // a relay that asks for weeks of waiting on a silent address, and whose client leaves
        platform::LocalPipe leaving;
        ASSERT_TRUE(leaving.connect(path));
        ASSERT_TRUE(leaving.write(asBytes(relayRequest(silent, "", 40, 0x7FFFFFFF, 0))));
    }
    // A client that stays asks in vain: the wait ends at the service's cap and frees its slot.
    auto capped = talk(path, relayRequest(silent, "", 40, 0x7FFFFFFF), std::chrono::seconds(5));
    EXPECT_TRUE(capped.ended);
    EXPECT_TRUE(capped.answers.empty());
    EXPECT_TRUE(talk(path, "short").ended);

    { // a search whose client reads nothing while the replies fill its pipe
        burst = 300;
        platform::LocalPipe silent;
        ASSERT_TRUE(silent.connect(path));
        ASSERT_TRUE(silent.write(asBytes(searchRequest())));
        PipeRequest update{"0", "0", 0, 0, kPipeUpdate, "127.0.0.42:1=1\n"};
        EXPECT_TRUE(talk(path, buildPipeRequest(update)).ended);
        burst = 0;
    }

    // Still serving: a search through the pipe brings the controller's proper reply.
    auto found = talk(path, searchRequest());
    EXPECT_TRUE(found.ended);
    auto proper = buildPipeAnswer(controller.endpoint.text(), asBytes(validReply));
    EXPECT_NE(std::find(found.answers.begin(), found.answers.end(), proper), found.answers.end());
    EXPECT_EQ(tavrin.stop(), 0);
}
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

// What is not a request frame is refused like these (the garbage round).
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
