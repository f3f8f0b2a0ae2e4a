// quorvane-sim run as a program over loopback: the faults given on its command line reach its
// replies, and its state dump has the shape the integration and window tests read. They read it
// through null-safe lookups, so a key the dump lost would read as null or 0 there and could let
// a test pass wrongly.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "child_process.h"
#include "platform/udp_socket.h"
#include "protocol/frame.h"
#include "sim_dump_request.h"
#include "test_paths.h"

using namespace quorvane;
using namespace quorvane::test;
using Kind = JsonValue::Kind;

namespace {

const std::string kOne = "127.0.0.1";
const std::string kTwo = "127.0.0.2";

// The tool played by the test, its requests built by the tool's own frame code (which its own
// tests hold to the frame layout).
class Client {
  public:
    explicit Client(int port) : port_(static_cast<std::uint16_t>(port)) {
        socket_.open();
        socket_.bind(*platform::parseIpv4(kOne), 0);
    }
    void send(const std::string& to, std::uint8_t command, const std::string& payload = {}) {
        const std::string f = buildRequest(kAnyTarget, command, asBytes(payload), state_);
        socket_.sendTo(asBytes(f), {*platform::parseIpv4(to), port_});
    }
    // What the next reply says about itself, or nothing after ten seconds.
    std::optional<FrameInfo> receive() {
        std::vector<std::uint8_t> buffer(kMaxDatagram);
        platform::Ipv4Endpoint from;
        if (socket_.waitReadable(nullptr, 10000) != platform::UdpSocket::Wait::Readable)
            return std::nullopt;
        const int n = socket_.receiveFrom(buffer, from);
        if (n < static_cast<int>(kMinFrameSize))
            return std::nullopt;
        return inspectFrame(Bytes(buffer.data(), static_cast<std::size_t>(n)));
    }
    int nextCode() {
        auto r = receive();
        return r ? r->command : 0;
    }

  private:
    platform::UdpSocket socket_;
    std::uint16_t port_;
    ProtocolState state_;
};

struct RunningSim {
    explicit RunningSim(std::vector<std::string> options)
        : port(testPort(0)), dumpFile(scratchDir("sim-dump") + "/state.json"),
          sim(argv(std::move(options))) {}
    std::vector<std::string> argv(std::vector<std::string> options) const {
        options.insert(options.begin(),
                       {simPath(), "--port", std::to_string(port), "--dump", dumpFile});
        return options;
    }
    int port;
    std::string dumpFile;
    ChildProcess sim;
};

// A member inside a dump by its path, "remote/relays/0/mode".
JsonValue at(JsonValue v, const std::string& path) {
    std::istringstream steps(path);
    for (std::string step; std::getline(steps, step, '/');)
        v = v.kind() == Kind::Array ? v[std::stoul(step)] : v[step];
    return v;
}

// Every member the other suites read, by its kind, after the requests this test sends.
const std::vector<std::pair<Kind, std::vector<std::string>>> kShape = {
    {Kind::Number,
     {"targetId", "requests/16", "configuration/hostPort", "configuration/reportMode",
      "configuration/reportIndex", "configuration/basicWrites", "configuration/doorWrites",
      "configuration/clearAlls", "remote/restarts", "remote/logClears", "remote/selfTests",
      "remote/relays/0/door", "remote/relays/0/openMs", "remote/relays/0/commands", "rights/count",
      "rights/checksPassed", "rights/lastSwipe/reader", "logs/count"}},
    {Kind::String,
     {"address", "configuration/name", "configuration/basicBlock", "configuration/doorBlock",
      "remote/clock", "remote/relays/0/mode", "remote/payloads/16", "rights/records/0/right"}},
    {Kind::Array, {"remote/testFlagBits", "remote/extensionRelays", "text/received"}},
    {Kind::Null, {"configuration/backup", "configuration/factory"}},
    {Kind::Boolean, {"rights/lastSwipe/granted"}},
    {Kind::Object, {"memory"}}};

} // namespace

TEST(SimProcess, CommandLineFaultsReachTheRepliesAndTheDumpHasItsShape) {
    RunningSim s(
        {"--count", "2", "--fault", "drop:40:1@127.0.0.1", "--fault", "delay:40:300@127.0.0.2"});
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    Client client(s.port);
    // The simulator answers in the order requests come: a later reply coming first shows that
    // the earlier one was dropped or held back.
    for (const std::string& to : {kOne, kTwo}) {
        client.send(to, 40);
        client.send(to, 2);
        EXPECT_EQ(client.nextCode(), 3) << to;
    }
    EXPECT_EQ(client.nextCode(), 41);
    std::string block(424, '\0');
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 3 + 1);
    client.send(kOne, 14, block);
    // An opened door, a right and a swipe fill the parts of the dump that start empty.
    client.send(kOne, 16, std::string("\x01\x01\x2C", 3));
    const std::string card("\0\0\0\0\x09\0\0\0", 8);
    client.send(kOne, 18, card + std::string(16, '\xFF'));
    client.send(kOne, 114, card + std::string("\x05\0\0\0", 4));
    for (int code : {15, 17, 19, 115})
        EXPECT_EQ(client.nextCode(), code);

    auto dump = requestSimDump(s.sim, s.dumpFile);
    ASSERT_TRUE(dump);
    EXPECT_EQ((*dump)["dump"].integer(), 1);
    EXPECT_EQ((*dump)["reason"].str(), "request");
    const JsonValue one = simController(*dump, kOne), two = simController(*dump, kTwo);
    for (const auto& [kind, paths] : kShape)
        for (const std::string& path : paths)
            EXPECT_EQ(at(one, path).kind(), kind) << path;
    EXPECT_EQ(unhex(at(one, "configuration/doorBlock").str()).substr(32), block.substr(32));
    EXPECT_EQ(at(one, "configuration/doorWrites").integer(), 1);
    EXPECT_EQ(at(one, "requests/40").integer(), 1); // a dropped reply's request counts
    EXPECT_EQ(at(two, "configuration/doorWrites").integer(), 0);

    EXPECT_EQ(s.sim.stop(), 0);
    dump = readSimDump(s.dumpFile);
    ASSERT_TRUE(dump);
    EXPECT_EQ((*dump)["dump"].integer(), 2);
    EXPECT_EQ((*dump)["reason"].str(), "exit");
    EXPECT_EQ((*dump)["controllers"].size(), 2u);

    // A random fault, and a malformed one refused rather than left out.
    RunningSim twice({"--count", "1", "--duplicate", "1"});
    ASSERT_TRUE(twice.sim.waitForLine("ready"));
    Client asker(twice.port);
    asker.send(kOne, 40);
    for (int copy = 0; copy < 2; ++copy)
        EXPECT_EQ(asker.nextCode(), 41) << copy;
    ChildProcess bad(std::vector<std::string>{simPath(), "--fault", "drop:16"});
    EXPECT_EQ(bad.wait(), 2);
}
