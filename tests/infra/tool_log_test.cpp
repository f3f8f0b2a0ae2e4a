#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <regex>
#include <thread>

#include "infra/tool_log.h"
#include "integration_home.h"

namespace quorvane {
namespace {

using test::splitLines;

struct OpenLog : ::testing::Test {
    OpenLog() {
        log.setEcho(false);
        log.openToolLog(dir + "/t.log");
    }
    std::string dir = test::scratchDir("log");
    ToolLog log;
};

// Narrow lines are written as they come, wide ones as GBK or replaced by the conversion failure
// line; a wide text longer than the 10 240-byte buffer is cut on a character boundary.
TEST_F(OpenLog, LinesCarryTimeAndThreadAreGbkAndBannersFrameTheFile) {
    log.writeLogLine("你好\n");
    log.writeLogLineWide(u"\u4F60\u597D\n");
    log.writeLogLineWide(u"x\U0001F600\n"); // no GBK form; four UTF-16 units
    log.writeLogLineWide(std::u16string(6000, u'\u4F60'));
    log.closeToolLog();
    auto l = splitLines(test::readFile(dir + "/t.log"));
    ASSERT_EQ(l.size(), 7u); // the long text has no line end: the closing banner follows it
    EXPECT_TRUE(std::regex_match(l[0], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d =+)")));
    EXPECT_NE(l[1].find("Open log file name = " + dir + "/t.log"), std::string::npos);
    EXPECT_NE(l[2].find("tarvex sdk build=2066 time="), std::string::npos);
    // GBK on disk: 你好 is C4 E3 BA C3.
    EXPECT_TRUE(std::regex_match(
        l[3], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d \[\d{6}\] \xC4\xE3\xBA\xC3)")));
    EXPECT_EQ(l[4].substr(l[4].size() - 4), "\xC4\xE3\xBA\xC3");
    EXPECT_NE(l[5].find("] UNICODE2LOCAL error2, lastError=0, wcslen=4, bufferLen=10240"),
              std::string::npos);
    std::size_t start = l[6].find("] ") + 2;
    ASSERT_GT(l[6].size(), start + 10238);
    EXPECT_EQ(l[6].substr(start + 10236, 2), "\xC4\xE3");
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(l[6][start + 10238]))); // banner's year
    EXPECT_NE(l[6].find(" $$$$$$\xC8\xD5\xD6\xBE\xCE\xC4\xBC\xFE\xB9\xD8\xB1\xD5$$$$$$$"),
              std::string::npos);
}

TEST(ToolLog, AnUnopenableFileLeavesTheLogClosedAndRotationPastTheLimitRestartsWithABanner) {
    std::string dir = test::scratchDir("log");
    ToolLog log(1000);
    log.setEcho(false);
    log.openToolLog("/nonexistent-dir/x/t.log");
    EXPECT_FALSE(log.isOpen());
    log.writeLogLine("nothing\n");
    log.openToolLog(dir + "/t.log");
    std::string big(1200, 'x');
    log.writeLogLine(big + "\n"); // file now past the limit
    log.writeLogLine("after\n");  // this write rotates first
    log.flush();
    auto l = splitLines(test::readFile(dir + "/t.log"));
    ASSERT_EQ(l.size(), 4u);
    EXPECT_NE(l[1].find("Open log file name"), std::string::npos);
    EXPECT_NE(l[3].find("] after"), std::string::npos);
}

TEST_F(OpenLog, EveryLineHandedInReachesTheFileWholeAndInOrderByFlushOrClose) {
    auto writer = [this](char c) {
        for (int i = 0; i < 1000; ++i)
            log.writeLogLine(std::string(300, c) + std::to_string(i) + "\n");
    };
    std::thread a(writer, 'a'), b(writer, 'b');
    a.join();
    b.join();
    log.flush();
    auto l = splitLines(test::readFile(dir + "/t.log"));
    ASSERT_EQ(l.size(), 3u + 2000u);
    std::map<char, int> next;
    for (std::size_t i = 3; i < l.size(); ++i) {
        std::string body = l[i].substr(l[i].find("] ") + 2) + " ";
        ASSERT_EQ(body, std::string(300, body[0]) + std::to_string(next[body[0]]++) + " ") << l[i];
    }
    log.writeLogLine("last\n");
    log.closeToolLog();
    l = splitLines(test::readFile(dir + "/t.log"));
    ASSERT_EQ(l.size(), 3u + 2001u + 1u);
    EXPECT_NE(l[l.size() - 2].find("] last"), std::string::npos);
    // Closed: nothing more is written, and a flush does not wait for it.
    log.writeLogLine("after close\n");
    log.flush();
    EXPECT_EQ(splitLines(test::readFile(dir + "/t.log")).size(), l.size());
}

TEST_F(OpenLog, DumpFollowsItsHeadAndKeepsItsPlaceAmongTheLines) {
    log.writeLogLine("before\n");
    std::string data = "ABCDEFGHIJKLMNOP\x01\x02";
    log.writeLogDump("buffer from 127.0.0.1:65534 dumped:\n", asBytes(data));
    data[0] = 'Z'; // the dump is of the bytes as they were handed in
    log.writeLogLine("after\n");
    log.flush();
    auto l = splitLines(test::readFile(dir + "/t.log"));
    ASSERT_EQ(l.size(), 3u + 6u);
    EXPECT_NE(l[3].find("] before"), std::string::npos);
    EXPECT_NE(l[4].find("] buffer from 127.0.0.1:65534 dumped:"), std::string::npos);
    EXPECT_EQ(l[5],
              "0x00000000  41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50   ABCDEFGHIJKLMNOP");
    EXPECT_EQ(l[6].substr(0, 18), "0x00000010  01 02 ");
    EXPECT_EQ(l[6].substr(l[6].size() - 2), ".."); // bytes that are no letter show as dots
    EXPECT_EQ(l[7], "");
    EXPECT_NE(l[8].find("] after"), std::string::npos);
    // A dump stops at 1,024 bytes with a note.
    l = splitLines(hexDump(asBytes(std::string(2000, 'z'))));
    ASSERT_EQ(l.size(), 65u);
    EXPECT_EQ(l[63].substr(0, 12), "0x000003f0  ");
    EXPECT_EQ(l[64], "length excceed limit, not all content was processed.");
}

} // namespace
} // namespace quorvane
