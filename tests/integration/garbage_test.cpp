// tavrin under garbage over real loopback sockets: malformed and oversized datagrams, truncated
// frames, broken pipe requests, clients that hang up mid-exchange or stop reading. Afterwards it
// must still answer a proper request.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <random>

#include "integration_home.h"
#include "pipe_client.h"
#include "played_searcher.h"
#include "protocol/pipe_message.h"
#include "sample_frames.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

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

} // namespace

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
