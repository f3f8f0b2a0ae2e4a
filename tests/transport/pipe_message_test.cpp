#include <gtest/gtest.h>

#include "protocol/pipe_message.h"
#include "test_paths.h"

using namespace quorvane;
using quorvane::test::hex;

TEST(PipeMessage, RequestHeaderPutsTextsAndNumbersAtTheirOffsets) {
    PipeRequest r;
    r.address = "门禁1";           // GBK C3 C5 BD FB 31
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
}

TEST(PipeMessage, OverlongTextsKeepTheirTerminatingZeroAndWholeCharacters) {
    PipeRequest r;
    r.address = std::string(30, 'a');
    r.identity = "控制器控制器控制器控制器";  // 24 GBK bytes: cut to 18 of the 19, whole characters
    std::string m = buildPipeRequest(r);
    EXPECT_EQ(m.substr(0, 23), std::string(23, 'a'));
    EXPECT_EQ(m[23], '\0');
    auto back = parsePipeRequest(asBytes(m));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->identity, "控制器控制器控制器");
    EXPECT_EQ(back->kind, kPipeRelay);
}

TEST(PipeMessage, RequestRoundTripsAndShortRequestIsRefused) {
    PipeRequest r{"127.0.0.5:65534", "", 0, 1, kPipeUpdate, "a=b\n"};
    auto back = parsePipeRequest(asBytes(buildPipeRequest(r)));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->address, r.address);
    EXPECT_EQ(back->waitFlag, 1u);
    EXPECT_EQ(back->kind, kPipeUpdate);
    EXPECT_EQ(back->payload, "a=b\n");
    EXPECT_FALSE(parsePipeRequest(asBytes(std::string(55, '\0'))));
}

TEST(PipeMessage, AnswerReaderEndsOnXxxAndRefusesAnswersWithoutFrame) {
    auto end = readPipeAnswer(asBytes("xxx"));
    ASSERT_TRUE(end);
    EXPECT_TRUE(end->end);
    EXPECT_TRUE(readPipeAnswer(asBytes(std::string("xxxjunk")))->end);
    EXPECT_FALSE(readPipeAnswer(asBytes(std::string(55, 'A'))));
    EXPECT_FALSE(readPipeAnswer({}));

    std::string a = buildPipeAnswer("127.0.0.3:65534", asBytes("FRAME"));
    auto parsed = readPipeAnswer(asBytes(a));
    ASSERT_TRUE(parsed);
    EXPECT_FALSE(parsed->end);
    EXPECT_EQ(parsed->sender, "127.0.0.3:65534");
    EXPECT_EQ(std::string(parsed->frame.begin(), parsed->frame.end()), "FRAME");
}

TEST(PipeMessage, SenderTextWithoutTerminatorStaysInsideTheHeader) {
    std::string a(56, 'S');
    a += "F";
    auto parsed = readPipeAnswer(asBytes(a));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->sender, std::string(56, 'S'));
    EXPECT_EQ(parsed->frame.size(), 1u);
}
