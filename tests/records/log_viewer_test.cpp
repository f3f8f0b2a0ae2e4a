#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "infra/codepage.h"
#include "loopback_session.h"
#include "model/config_table.h"
#include "records/log_viewer.h"
#include "sample_frames.h"

namespace quorvane {
namespace {

using test::replyTo;
using test::SentFrame;
using test::u32At;

// A security alarm (kind 1, subtype 5) and a normal card read (kind 2) of card 65546 at
// 2026-01-01 08:30:00.
const std::string kAlarm = test::unhex("02000000FF0000002134C0430001040A");
const std::string kCard = test::unhex("000000000A0001002134C04300000800");

LogRecord record(const std::string& bytes) {
    return *LogRecord::decode(asBytes(bytes));
}

std::string columns(const std::array<std::string, kViewerColumnCount>& row) {
    std::string text;
    for (const auto& column : row)
        text += column + "|";
    return text;
}

TEST(LogViewerPages, ThirtyRecordsAPageAndOneWithoutRecords) {
    for (auto [records, pages] : {std::pair{0u, 1L}, {30u, 1L}, {31u, 2L}, {651520u, 21718L}})
        EXPECT_EQ(viewerPageCount(records), pages) << records;
}

TEST(LogViewerSlots, FullBlocksInTheRingTheNewestInTheBuffer) {
    const std::tuple<std::uint32_t, std::uint32_t, MemoryType, std::uint32_t> cases[] = {
        {300, 700, MemoryType::Flash, 0x227000 + 4800},
        {650, 700, MemoryType::Eeprom, 0x600 + 16 * 138},
        // Once the ring wrapped: its oldest slot holds a newer record; the block being filled
        // still lies in the buffer.
        {651521, 651820, MemoryType::Flash, 0x227000 + 16},
        {651800, 651820, MemoryType::Eeprom, 0x600 + 16 * 24}};
    for (const auto& [index, count, type, address] : cases) {
        const LogSlot s = viewerSlot(index, count);
        EXPECT_EQ(std::pair(s.type, s.address), std::pair(type, address)) << index;
    }
}

TEST(LogViewerRows, TheCardOnlyFilterKeepsNumberAndTimeAndBlanksTheRest) {
    ViewerRowContext c;
    c.reportIndex = 9; // records 1..7 went up
    c.cardOnly = true;
    c.identities = [](const std::string& card) -> std::optional<ViewerIdentity> {
        if (card != "0000065546")
            return std::nullopt;
        return ViewerIdentity{"张三", "汉", "男", "19800101", "北京", "公安局", "2020", "2030"};
    };
    EXPECT_EQ(columns(viewerRow(record(kAlarm), 7, c)),
              "8|2026-01-01 08:30:00|非刷卡日志|-|-|-|-|-|-|-|-|-|-|-|-|-|-|-|-|-|");
    EXPECT_EQ(
        columns(viewerRow(record(kCard), 6, c)),
        "7|2026-01-01 08:30:00|刷卡记录|正常记录|0000065546|0|0|未知|成功|正常|是||张三|汉|男|"
        "19800101|北京|公安局|2020|2030|");
    EXPECT_EQ(viewerRow(record(kCard), 8, c)[10], "否");
}

struct Viewer : ::testing::Test {
    Viewer() {
        writeNumber(configField("logCount"), t.device.doorConfig, 0, 700);
        writeNumber(configField("reportIndex"), t.device.doorConfig, 0, 1);
        // Each page read answers its page with the card record in every slot.
        t.controller.setScript([](const SentFrame& f) {
            std::string page;
            while (page.size() < kPageBytes)
                page += kCard;
            return std::vector<std::string>{replyTo(f, 1, f.payload() + page)};
        });
    }
    LogViewer& open() {
        viewer.emplace(t.s(), images, t.device, IdentityLookup{});
        viewer->open();
        return *viewer;
    }
    std::string cache() { return test::readFile(t.home + "/data/logView-00258"); }
    test::LoopbackSession t{"log-viewer", 113};
    MemoryImages images;
    std::optional<LogViewer> viewer;
};

TEST_F(Viewer, AnEmptyRecordCostsExactlyOneReadAndIsCached) {
    LogViewer& v = open();
    ASSERT_EQ(v.viewerRecordAt(650, false), record(kCard));
    EXPECT_EQ(v.viewerRecordAt(651, false), record(kCard)); // same page, nothing asked
    EXPECT_FALSE(v.viewerRecordAt(700, false));
    auto frames = t.controller.received();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].payload(), test::unhex("000E000001000000")); // EEPROM page 0xE00
    const std::string file = cache();
    ASSERT_EQ(file.size(), kRecordCacheBytes);
    EXPECT_EQ(file.substr(kLogRingBytes + 16 * 138, 16), kCard);
    EXPECT_EQ(file.substr(kLogRingBytes, 16 * 128), std::string(16 * 128, '\0'));
}

TEST_F(Viewer, AShownPageIsCachedAndThePageButtonsStopAtTheEnds) {
    LogViewer& v = open();
    v.showPage();
    const std::string file = cache();
    ASSERT_EQ(file.size(), kRecordCacheBytes);
    EXPECT_EQ(file.substr(kLogRingBytes + 16 * 178, 16), kCard); // record 690 of the last page
    v.firstPage();
    v.previousPage();
    EXPECT_EQ(v.page(), 1);
    EXPECT_EQ(t.user.messages().back(), "已经到第一页！");
}

TEST_F(Viewer, AFileOfAnotherSizeIsNoCache) {
    test::writeFile(t.home + "/data/logView-00258", std::string(100, '\x01'));
    images.flash[kLogRingAddress] = 7;
    images.flash[0] = 9; // outside the log areas: kept
    open();
    EXPECT_EQ(images.flash[kLogRingAddress], 0);
    EXPECT_EQ(images.flash[0], 9);
}

TEST_F(Viewer, TheFilterIsRememberedForTheNextOpening) {
    open().setCardOnly(true);
    EXPECT_EQ(t.s().settings().readInt("common", "show-card-scan-only", 0), 1);
    EXPECT_TRUE(open().cardOnly());
    open().setCardOnly(false, false); // the command line's --card-only: this run only
    EXPECT_TRUE(open().cardOnly());
}

TEST_F(Viewer, DownloadReadsBothAreasAsOneBatchThenTheLastPageNeedsNoRead) {
    LogViewer& v = open();
    ASSERT_EQ(v.download(), 0);
    EXPECT_EQ(t.user.messages(), std::vector<std::string>{"操作成功！"});
    auto frames = t.controller.received();
    ASSERT_EQ(frames.size(), 8u + 16u); // the buffer, then the two full blocks of the ring
    EXPECT_EQ(frames[0].payload(), test::unhex("0006000001000000"));
    EXPECT_EQ(u32At(frames[8].payload(), 0), kLogRingAddress);
    EXPECT_EQ(u32At(frames[23].payload(), 0), kLogRingAddress + 15 * kPageBytes);
    EXPECT_EQ(t.user.progressTexts().back(), "正在下载FLASH(4423/24768)...");
    auto rows = v.showPage();
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows.front().columns[0], "691");
    EXPECT_EQ(v.statusLine(), "第24页/共24页,总计700条,已上报0条");
    EXPECT_EQ(t.controller.received().size(), 24u);
    // Exported: the captions, then every record.
    ASSERT_TRUE(v.exportTo(t.home + "/out.txt"));
    const std::string text = fromGbk(test::readFile(t.home + "/out.txt"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 701);
    EXPECT_EQ(text.rfind("序号\t时间\t类型\t", 0), 0u);
    EXPECT_NE(text.find("\r\n700\t2026-01-01 08:30:00\t刷卡记录\t正常记录\t0000065546\t"),
              std::string::npos);
}

} // namespace
} // namespace quorvane
