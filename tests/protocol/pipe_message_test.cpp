#include <gtest/gtest.h>

#include "protocol/pipe_message.h"
#include "test_paths.h"

using namespace quorvane;
using quorvane::test::hex;
using quorvane::test::unhex;

// Address (24 bytes), identity (20), wait time, wait flag and kind (little-endian words), then
// the payload.
TEST(PipeMessage, RequestHeaderPutsTextsAndNumbersAtTheirOffsetsAndCutsOverlongTexts) {
    PipeRequest r{"门禁1", "2024000000000001", 3000, 1, kPipeUpdate, "a=b\n"};
    const std::string m = unhex("C3 C5 BD FB 31") + std::string(19, '\0') + r.identity +
                          std::string(4, '\0') + unhex("B80B0000 01000000 01000000") + "a=b\n";
    EXPECT_EQ(hex(buildPipeRequest(r)), hex(m));
    auto back = parsePipeRequest(asBytes(m));
    ASSERT_TRUE(back);
    EXPECT_EQ(buildPipeRequest(*back), m);
    EXPECT_EQ(back->address, "门禁1");
    EXPECT_FALSE(parsePipeRequest(asBytes(std::string(55, '\0'))));
    // Overlong texts keep their terminating zero and whole characters.
    r.address = std::string(30, 'a');
    r.identity = "控制器控制器控制器控制器"; // 24 GBK bytes: cut to 18 of the 19
    const std::string cut = buildPipeRequest(r);
    EXPECT_EQ(cut.substr(0, 24), std::string(23, 'a') + '\0');
    EXPECT_EQ(parsePipeRequest(asBytes(cut)).value().identity, "控制器控制器控制器");
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
