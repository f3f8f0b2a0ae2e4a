#include <gtest/gtest.h>

#include "protocol/pipe_message.h"
#include "test_paths.h"

using namespace quorvane;
using quorvane::test::hex;
using quorvane::test::unhex;

TEST(PipeMessage, RequestHeaderPutsTextsAndNumbersAtTheirOffsetsAndCutsOverlongTexts) {
    PipeRequest r;
    r.address = "门禁1"; // GBK C3 C5 BD FB 31
    r.identity = "2024000000000001";
    r.timeoutMs = 3000;
    r.waitFlag = 1;
    r.kind = kPipeRelay;
    r.payload = std::string("\x55\x02", 2);
    std::string m = buildPipeRequest(r);
    ASSERT_EQ(m.size(), 58u);
    EXPECT_EQ(hex(m.substr(0, 6)), "C3 C5 BD FB 31 00");
    EXPECT_EQ(m.substr(24, 16), "2024000000000001");
    EXPECT_EQ(hex(m.substr(44, 12)), "B8 0B 00 00 01 00 00 00 00 00 00 00");
    EXPECT_EQ(hex(m.substr(56)), "55 02");
    // Overlong texts keep their terminating zero and whole characters.
    r.address = std::string(30, 'a');
    r.identity = "控制器控制器控制器控制器"; // 24 GBK bytes: cut to 18 of the 19
    m = buildPipeRequest(r);
    EXPECT_EQ(m.substr(0, 23), std::string(23, 'a'));
    EXPECT_EQ(m[23], '\0');
    EXPECT_EQ(parsePipeRequest(asBytes(m)).value().identity, "控制器控制器控制器");
}

TEST(PipeMessage, RequestReaderTakesTheHeaderFieldsFromTheirOffsets) {
    // Address (24 bytes), identity (20), wait time, wait flag and kind (little-endian words),
    // then the payload.
    std::string m = "127.0.0.5:65534" + std::string(9, '\0');
    m += "2024000000000001" + std::string(4, '\0');
    m += unhex("E8030000 01000000 01000000") + "a=b\n";
    auto r = parsePipeRequest(asBytes(m));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->address, "127.0.0.5:65534");
    EXPECT_EQ(r->identity, "2024000000000001");
    EXPECT_EQ(r->timeoutMs, 1000u);
    EXPECT_EQ(r->waitFlag, 1u);
    EXPECT_EQ(r->kind, kPipeUpdate);
    EXPECT_EQ(r->payload, "a=b\n");
    EXPECT_FALSE(parsePipeRequest(asBytes(std::string(55, '\0'))));
}

TEST(PipeMessage, AnswerReaderEndsOnXxxAndRefusesAnswersWithoutFrame) {
    auto end = readPipeAnswer(asBytes("xxx"));
    ASSERT_TRUE(end);
    EXPECT_TRUE(end->end);
    EXPECT_TRUE(readPipeAnswer(asBytes(std::string("xxxjunk")))->end);
    EXPECT_FALSE(readPipeAnswer(asBytes(std::string(55, 'A'))));
    EXPECT_FALSE(readPipeAnswer({}));

    // The sender's text in a 56-byte header, then the frame.
    std::string a = buildPipeAnswer("127.0.0.3:65534", asBytes("FRAME"));
    EXPECT_EQ(hex(a), hex("127.0.0.3:65534" + std::string(41, '\0') + "FRAME"));
    auto parsed = readPipeAnswer(asBytes(a));
    ASSERT_TRUE(parsed);
    EXPECT_FALSE(parsed->end);
    EXPECT_EQ(parsed->sender, "127.0.0.3:65534");
    EXPECT_EQ(std::string(parsed->frame.begin(), parsed->frame.end()), "FRAME");
    // A sender text without its terminating zero stays inside the header.
    parsed = readPipeAnswer(asBytes(std::string(56, 'S') + "F"));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->sender, std::string(56, 'S'));
    EXPECT_EQ(parsed->frame.size(), 1u);
}
