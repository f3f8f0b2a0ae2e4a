// quorvane-sim run as a program: its faults per command observed by a client on loopback, and
// its state dump after the configuration writes. What each fault counts is checked on the
// fault table itself; drop-each and a fault limited to one address are used over sockets by the
// batch and rights tests, and the dump of relays, restarts and the clock by the remote-command
// tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "platform/udp_socket.h"
#include "sim_dump_request.h"
#include "test_paths.h"

using namespace quorvane;
using namespace quorvane::test;
using Clock = std::chrono::steady_clock;

namespace {

struct Reply {
    std::uint8_t code = 0;
    std::uint8_t status = 0;
    std::uint16_t sequence = 0;
    std::string payload;
};

// A tool played by the test: requests written out byte by byte, replies read back.
class Client {
  public:
    explicit Client(int port) : port_(static_cast<std::uint16_t>(port)) {
        socket_.open();
        socket_.bind(*platform::parseIpv4("127.0.0.1"), 0);
    }

    // Sends one request; its sequence number.
    std::uint16_t send(const std::string& to, std::uint8_t command, const std::string& payload,
                       std::uint16_t target = 0xFFFF) {
        const std::uint16_t seq = ++sequence_;
        std::string f(16, '\x55');
        f.append(8, '\xFF');
        f += {static_cast<char>(target >> 8),
              static_cast<char>(target & 0xFF),
              static_cast<char>(seq & 0xFF),
              static_cast<char>(seq >> 8),
              static_cast<char>(command),
              0,
              static_cast<char>(payload.size() >> 8),
              static_cast<char>(payload.size() & 0xFF)};
        f += payload;
        unsigned sum = 0;
        for (std::size_t i = 28; i < f.size(); ++i)
            sum += static_cast<unsigned char>(f[i]);
        f += static_cast<char>(sum & 0xFF);
        socket_.sendTo(asBytes(f), {*platform::parseIpv4(to), port_});
        return seq;
    }

    // The next reply, or nothing after the limit.
    std::optional<Reply> receive(int limitMs = 10000) {
        if (socket_.waitReadable(nullptr, limitMs) != platform::UdpSocket::Wait::Readable)
            return std::nullopt;
        std::vector<std::uint8_t> buffer(4096);
        platform::Ipv4Endpoint from;
        int n = socket_.receiveFrom(buffer, from);
        if (n < 33)
            return std::nullopt;
        Reply r;
        r.sequence = static_cast<std::uint16_t>(buffer[26] | (buffer[27] << 8));
        r.code = buffer[28];
        r.status = buffer[29];
        std::size_t length = static_cast<std::size_t>((buffer[30] << 8) | buffer[31]);
        r.payload.assign(reinterpret_cast<char*>(buffer.data()) + 32,
                         std::min(length, static_cast<std::size_t>(n) - 33));
        return r;
    }

    // The reply code the next reply carries (0 when none came).
    int nextCode() {
        auto r = receive();
        return r ? r->code : 0;
    }

  private:
    platform::UdpSocket socket_;
    std::uint16_t port_;
    std::uint16_t sequence_ = 0;
};

struct RunningSim {
    explicit RunningSim(const std::vector<std::string>& options, int portOffset = 0)
        : port(testPort(portOffset)), dumpFile(scratchDir("sim-dump") + "/state.json"),
          sim(argv(options)) {}
    std::vector<std::string> argv(const std::vector<std::string>& options) const {
        std::vector<std::string> a = {simPath(), "--port", std::to_string(port), "--dump",
                                      dumpFile};
        a.insert(a.end(), options.begin(), options.end());
        return a;
    }
    JsonValue dump() {
        auto d = requestSimDump(sim, dumpFile);
        EXPECT_TRUE(d) << "no dump from the simulator";
        return d ? *d : JsonValue();
    }
    int port;
    std::string dumpFile;
    ChildProcess sim;
};

const std::string kOne = "127.0.0.1";
const std::string kTwo = "127.0.0.2";

std::string bytesOf(std::initializer_list<int> b) {
    std::string s;
    for (int v : b)
        s += static_cast<char>(v);
    return s;
}

} // namespace

TEST(FaultPerCommand, DropLosesOnlyTheFirstRepliesToItsCode) {
    RunningSim s({"--count", "1", "--fault", "drop:40:2"});
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    Client client(s.port);
    // The simulator answers in the order requests come: the search reply coming first shows
    // that the clock reply before it was dropped.
    for (int i = 0; i < 2; ++i) {
        client.send(kOne, 40, "");
        client.send(kOne, 2, "");
        EXPECT_EQ(client.nextCode(), 3) << "round " << i;
    }
    std::uint16_t seq = client.send(kOne, 40, "");
    auto r = client.receive();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->code, 41);
    EXPECT_EQ(r->status, 1);
    EXPECT_EQ(r->sequence, seq);
    EXPECT_EQ(r->payload.size(), 7u);
    JsonValue c = simController(s.dump(), kOne);
    EXPECT_EQ(c["requests"]["40"].integer(), 3);
    EXPECT_EQ(c["requests"]["2"].integer(), 2);
}

TEST(FaultPerCommand, StatusAnswersInsteadOfCarryingTheCommandOut) {
    RunningSim s({"--count", "1", "--fault", "status:14:0", "--fault", "status:200:1"});
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    const std::string before = simController(s.dump(), kOne)["configuration"]["doorBlock"].str();
    Client client(s.port);
    client.send(kOne, 14, std::string(424, '\x07'));
    auto r = client.receive();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->code, 15);
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(r->payload, "");
    // A code the controller does not know answers as scripted too.
    client.send(kOne, 200, "");
    r = client.receive();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->code, 201);
    EXPECT_EQ(r->status, 1);
    // Other codes are untouched.
    client.send(kOne, 12, "");
    r = client.receive();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->code, 13);
    EXPECT_EQ(r->status, 1);
    EXPECT_EQ(r->payload.size(), 424u);
    JsonValue config = simController(s.dump(), kOne)["configuration"];
    EXPECT_EQ(config["doorWrites"].integer(), 0);
    EXPECT_EQ(config["doorBlock"].str(), before);
}

TEST(FaultPerCommand, DelayHoldsBackOnlyTheRepliesToItsCode) {
    RunningSim s({"--count", "1", "--fault", "delay:40:400"});
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    Client client(s.port);
    const auto sent = Clock::now();
    client.send(kOne, 40, "");
    client.send(kOne, 2, "");
    EXPECT_EQ(client.nextCode(), 3);
    EXPECT_EQ(client.nextCode(), 41);
    EXPECT_GE(Clock::now() - sent, std::chrono::milliseconds(400));
}

TEST(FaultAtRandom, DuplicateSendsTheSameReplyTwice) {
    RunningSim s({"--count", "1", "--duplicate", "1"});
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    Client client(s.port);
    std::uint16_t seq = client.send(kOne, 40, "");
    auto a = client.receive();
    auto b = client.receive();
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->sequence, seq);
    EXPECT_EQ(b->sequence, seq);
    EXPECT_EQ(a->code, 41);
    EXPECT_EQ(b->code, 41);
}

TEST(FaultOptions, AMalformedFaultStopsTheSimulatorWithUsageStatus) {
    ChildProcess sim(std::vector<std::string>{simPath(), "--fault", "drop:16"});
    EXPECT_EQ(sim.wait(), 2);
}

TEST(StateDump, ShowsTheDoorBlockAWriteStored) {
    RunningSim s({"--count", "2"});
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    JsonValue first = s.dump();
    EXPECT_EQ(first["dump"].integer(), 1);
    EXPECT_EQ(first["reason"].str(), "request");
    const std::string before =
        unhex(simController(first, kTwo)["configuration"]["doorBlock"].str());
    ASSERT_EQ(before.size(), 424u);

    std::string block(424, '\0');
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 3 + 1);
    Client client(s.port);
    client.send(kTwo, 14, block, 0x0103); // group 1, number 3: the second controller
    auto r = client.receive();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->code, 15);
    EXPECT_EQ(r->status, 1);

    JsonValue second = s.dump();
    EXPECT_EQ(second["dump"].integer(), 2);
    JsonValue c = simController(second, kTwo);
    // The counts stay the controller's; the report index (D12), the limit of persons inside
    // (D26) and everything from D32 on are what was sent.
    std::string expected = before.substr(0, 12) + block.substr(12, 4) + before.substr(16, 10) +
                           block.substr(26, 2) + before.substr(28, 4) + block.substr(32);
    EXPECT_EQ(hex(unhex(c["configuration"]["doorBlock"].str())), hex(expected));
    EXPECT_EQ(c["configuration"]["doorWrites"].integer(), 1);
    EXPECT_EQ(c["requests"]["14"].integer(), 1);
    // The other controller was not addressed.
    JsonValue other = simController(second, kOne);
    EXPECT_EQ(other["configuration"]["doorWrites"].integer(), 0);
    EXPECT_EQ(other["requests"].size(), 0u);
}

TEST(StateDump, ShowsTheBasicConfigurationAWriteStored) {
    RunningSim s({"--count", "1", "--block", "extended"});
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    // An extended block: name "门1" in GBK, MAC, addresses, ports, group 2 number 9, both sums.
    std::string p(192, '\0');
    auto put = [&](std::size_t at, const std::string& bytes) {
        p.replace(at, bytes.size(), bytes);
    };
    put(0, bytesOf({3, 0xC3, 0xC5, '1'}));
    put(16, bytesOf({0x00, 0x1a, 0x2b, 0x00, 0x00, 0x01}));
    put(22, bytesOf({10, 1, 2, 3, 255, 255, 0, 0, 10, 1, 0, 1, 10, 1, 0, 100}));
    put(38, bytesOf({0x30, 0x39, 0x27, 0x0F})); // ports 12345 and 9999
    put(42, bytesOf({2, 2, 0, 9}));
    put(100, bytesOf({0x11})); // DHCP, extended
    put(116, "dialer");
    put(158, bytesOf({10, 1, 0, 200, 0x1F, 0x91}));
    p[190] = '\xEE';
    auto sum = [&](std::size_t n) {
        unsigned s8 = 0;
        for (std::size_t i = 0; i < n; ++i)
            s8 += static_cast<unsigned char>(p[i]);
        return static_cast<char>(s8 & 0xFF);
    };
    p[115] = sum(115);
    p[191] = sum(191);
    Client client(s.port);
    client.send(kOne, 4, p + std::string(424, '\0'));
    auto r = client.receive();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->code, 5);
    EXPECT_EQ(r->status, 1);

    JsonValue c = simController(s.dump(), kOne);
    JsonValue config = c["configuration"];
    EXPECT_EQ(config["name"].str(), "门1");
    EXPECT_EQ(config["ip"].str(), "10.1.2.3");
    EXPECT_EQ(config["mask"].str(), "255.255.0.0");
    EXPECT_EQ(config["devicePort"].integer(), 12345);
    EXPECT_EQ(config["hostPort"].integer(), 9999);
    EXPECT_EQ(config["groupNo"].integer(), 2);
    EXPECT_EQ(config["deviceNo"].integer(), 9);
    EXPECT_EQ(config["ipAlloc"].integer(), 1);
    EXPECT_EQ(config["serverAddress"].str(), "10.1.0.200");
    EXPECT_EQ(config["serverPort"].integer(), 8081);
    EXPECT_EQ(config["basicWrites"].integer(), 1);
    EXPECT_EQ(c["targetId"].integer(), 0x0209);
    // What it reports now carries the written fields in its own form.
    std::string reported = unhex(config["basicBlock"].str());
    ASSERT_EQ(reported.size(), 192u);
    EXPECT_EQ(hex(reported.substr(0, 44)), hex(p.substr(0, 44)));
    EXPECT_EQ(reported[44], 1); // the hardware variant stays the controller's own
    EXPECT_EQ(reported[45], 9);
    EXPECT_EQ(hex(reported.substr(116, 48)), hex(p.substr(116, 48)));
    // It still answers at its own address, now under its new target id only.
    client.send(kOne, 40, "", 0x0101);
    client.send(kOne, 40, "", 0x0209);
    r = client.receive();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->sequence, 3);
}

TEST(StateDump, IsWrittenAtExitWithTheNextNumber) {
    RunningSim s({"--count", "3"});
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    EXPECT_EQ(s.dump()["dump"].integer(), 1);
    EXPECT_EQ(s.sim.stop(), 0);
    auto last = readSimDump(s.dumpFile);
    ASSERT_TRUE(last);
    EXPECT_EQ((*last)["dump"].integer(), 2);
    EXPECT_EQ((*last)["reason"].str(), "exit");
    const JsonValue& list = (*last)["controllers"];
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2]["address"].str(), "127.0.0.3");
    for (const char* module : {"configuration", "remote", "rights", "memory", "logs", "text"})
        EXPECT_EQ(list[0][module].kind(), JsonValue::Kind::Object) << module;
}

TEST(StateDump, NamesWithQuotesAndControlCharactersStayReadable) {
    RunningSim s({"--count", "1", "--name-prefix", "a\"b\tc\\d\x01"});
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    EXPECT_EQ(simController(s.dump(), kOne)["configuration"]["name"].str(), "a\"b\tc\\d\x01"
                                                                            "1");
}
