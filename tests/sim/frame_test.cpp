// The simulator's reading of requests and building of replies, against frames written out here
// from the frame layout, and the general error replies of its command table.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "sim_command_table.h"
#include "sim_frame.h"

using namespace quorvane;
using namespace quorvane::sim;

namespace {

using ByteVec = std::vector<std::uint8_t>;

// The open-door request for door 3, 5 000 ms, to target 0x0105 with sequence 0x1234.
ByteVec openDoorRequest() {
    ByteVec f(16, 0x55);
    f.insert(f.end(),
             {0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 0x01, 0x05, 0x34, 0x12, 16, 0, 0, 3, 3, 0x01, 0xF4});
    f.push_back(static_cast<std::uint8_t>(16 + 3 + 3 + 0x01 + 0xF4));
    return f;
}

} // namespace

TEST(ReadRequest, TakesTargetSequenceCommandAndPayloadFromTheirPlaces) {
    ByteVec f = openDoorRequest();
    auto r = readRequest(f);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->target, 0x0105);
    EXPECT_EQ(r->sequence, 0x1234);
    EXPECT_EQ(r->command, 16);
    EXPECT_EQ(ByteVec(r->payload.begin(), r->payload.end()), (ByteVec{3, 0x01, 0xF4}));
    EXPECT_TRUE(r->checksumOk);
}

struct Mangled {
    const char* name;
    std::size_t at;    // byte to change, or the size to cut to
    std::uint8_t flip; // bits changed in that byte
    bool cut;
    bool readable; // still a request
    bool checksumOk;
};

class MangledRequest : public ::testing::TestWithParam<Mangled> {};

TEST_P(MangledRequest, IsRefusedOrMarked) {
    ByteVec f = openDoorRequest();
    if (GetParam().cut)
        f.resize(GetParam().at);
    else
        f.at(GetParam().at) ^= GetParam().flip;
    auto r = readRequest(f);
    ASSERT_EQ(r.has_value(), GetParam().readable);
    if (r) {
        EXPECT_EQ(r->checksumOk, GetParam().checksumOk);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MangledRequest,
    ::testing::Values(Mangled{"PrefixByte", 5, 0x01, false, false, false},
                      Mangled{"MarkerByte", 17, 0x01, false, false, false},
                      Mangled{"PasswordByteIsNotChecked", 20, 0x01, false, true, true},
                      Mangled{"PayloadByte", 33, 0x01, false, true, false},
                      Mangled{"ChecksumByte", 35, 0x01, false, true, false},
                      Mangled{"LengthPastTheEnd", 31, 0x07, false, false, false},
                      Mangled{"WithoutItsChecksum", 35, 0, true, false, false},
                      Mangled{"ShorterThanAHeader", 32, 0, true, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadRequest, BytesAfterTheChecksumAreIgnored) {
    ByteVec f = openDoorRequest();
    f.push_back(0x99);
    auto r = readRequest(f);
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->checksumOk);
    EXPECT_EQ(r->payload.size(), 3u);
}

TEST(BuildReply, PrefixIdSequenceCodeStatusLengthPayloadAndSum) {
    std::string f = buildReply(0x0105, 0x1234, 41, SimReply{1, "\x24\x12\x31"});
    ByteVec expected(16, 0xAA);
    expected.insert(expected.end(), 8, 0xFF);
    expected.insert(expected.end(), {0x01, 0x05, 0x34, 0x12, 41, 1, 0, 3, 0x24, 0x12, 0x31,
                                     static_cast<std::uint8_t>(41 + 1 + 3 + 0x24 + 0x12 + 0x31)});
    EXPECT_EQ(ByteVec(f.begin(), f.end()), expected);
}

TEST(CommandTable, AWrongChecksumOrAnUnknownCodeGetsTheGeneralErrorReply) {
    CommandTable table;
    SimController c;
    SimRequest r;
    r.command = 40;
    r.checksumOk = false;
    auto a = table.answer(c, r);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->code, 255);
    EXPECT_EQ(a->reply.status, 0xFD);
    r.command = 200;
    r.checksumOk = true;
    a = table.answer(c, r);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->code, 255);
    EXPECT_EQ(a->reply.status, 0xFF);
}

TEST(CommandTable, ACodeClaimedByTwoHandlersIsRefused) {
    CommandTable table;
    EXPECT_THROW(
        table.add(40, [](SimController&, const SimRequest&) { return std::optional<SimReply>(); }),
        std::logic_error);
}
