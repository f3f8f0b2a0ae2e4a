// The simulator's memory commands: pages written are read back and shown in the dump, and a
// firmware commit is taken only with the size and sum of the pages written.
#include <gtest/gtest.h>

#include <vector>

#include "sim_command_table.h"
#include "sim_module.h"

using namespace quorvane;
using namespace quorvane::sim;

namespace {

using ByteVec = std::vector<std::uint8_t>;

std::pair<int, ByteVec> send(SimController& c, std::uint8_t command, const ByteVec& payload) {
    SimRequest r;
    r.command = command;
    r.payload = Bytes(payload);
    const SimReply reply = CommandTable().answer(c, r).value().reply;
    return {reply.status, ByteVec(reply.payload.begin(), reply.payload.end())};
}

ByteVec words(std::initializer_list<std::uint32_t> values, ByteVec tail = {}) {
    ByteVec out(values.size() * 4);
    ByteWriter w(out);
    for (auto v : values)
        w.putU32le(v);
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

Json memoryDump(const SimController& c) {
    return kMemoryModule.dump(c);
}

} // namespace

TEST(SimMemory, PagesWrittenAreReadBackAndListed) {
    SimController c = makeController({});
    ByteVec page(512);
    for (std::size_t i = 0; i < page.size(); ++i)
        page[i] = static_cast<std::uint8_t>(i * 7);
    EXPECT_EQ(send(c, 34, words({0xFFE00, 2}, page)).first, 1);
    auto [status, read] = send(c, 32, words({0xFFE00, 2}));
    EXPECT_EQ(status, 1);
    EXPECT_EQ(read, words({0xFFE00, 2}, page));
    EXPECT_EQ(memoryDump(c)["flash"]["written"], Json::array({2047}));
    // Past the end of EEPROM, a type nobody has, a short write: refused, nothing kept.
    EXPECT_EQ(send(c, 32, words({262144, 1})).first, kBadParameter);
    EXPECT_EQ(send(c, 34, words({0, 7}, page)).first, kBadParameter);
    EXPECT_EQ(send(c, 34, words({0, 1}, ByteVec(100))).first, kBadFormat);
}

TEST(SimMemory, FirmwareCommitChecksSizeAndSumAndEraseNeedsTheCode) {
    SimController c = makeController({});
    ByteVec page(512, 3);
    ASSERT_EQ(send(c, 34, words({0x08040000, 0}, page)).first, 1);
    ASSERT_EQ(send(c, 34, words({0x08040200, 0}, page)).first, 1);
    EXPECT_EQ(send(c, 128, words({0x08040000, 1000, 2999})).first, 0);
    EXPECT_EQ(send(c, 128, words({0x08040000, 1500, 4500})).first, 0); // a page is missing
    EXPECT_EQ(send(c, 128, words({0x08040000, 1000, 3000})).first, 1);
    Json d = memoryDump(c);
    EXPECT_EQ(d["committed"]["size"], 1000);
    EXPECT_EQ(d["refusedCommits"], 2);
    EXPECT_EQ(d["firmware"]["written"], Json::array({0, 1}));

    EXPECT_EQ(send(c, 72, ByteVec(8, 0)).first, 0);
    EXPECT_EQ(send(c, 72, ByteVec{'C', 'L', 'R', 'P', 'R', 'O', 'G', '!'}).first, 1);
    EXPECT_TRUE(memoryDump(c)["committed"].is_null());
    EXPECT_EQ(send(c, 82, ByteVec{1, 4, 0}).first, 1);
    EXPECT_EQ(memoryDump(c)["lastSound"], "010400");
}
