// The rights operations against quorvane-sim over loopback: a thousand cards added while a
// fifth of the answers are lost, repeated and late end either on the controller or on the
// failure list, as the simulator's state and a download both show; and the rights commands of
// the command line that no JSON row runs.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "fake_clock.h"
#include "infra/codepage.h"
#include "integration_home.h"
#include "recording_user_port.h"
#include "rights/right_download.h"
#include "rights/right_list_operations.h"
#include "rights/right_text.h"
#include "session/tool_session.h"
#include "sim_dump_request.h"
#include "summary_text.h"

using namespace quorvane;
using namespace quorvane::test;
using namespace std::chrono_literals;

namespace {

// The card number (low word) of each right in a controller's dump entry, in position order.
std::vector<std::uint32_t> cardsInDump(const JsonValue& controller) {
    std::vector<std::uint32_t> cards;
    const JsonValue& records = controller["rights"]["records"];
    for (std::size_t i = 0; i < records.size(); ++i) {
        std::string bytes = unhex(records[i]["right"].str());
        cards.push_back(ByteReader(asBytes(bytes), 4).u32le());
    }
    return cards;
}

// The lines of a GBK file of the tool's, each ended by CR LF.
std::vector<std::string> fileLines(const std::string& path) {
    auto lines = splitLines(fromGbk(readFile(path)));
    for (auto& line : lines)
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
    return lines;
}

template <class T> bool unique(const std::vector<T>& v) {
    return std::set<T>(v.begin(), v.end()).size() == v.size();
}

} // namespace

TEST(RightsUnderLoss, AThousandCardsEndOnTheControllerOrOnTheFailureList) {
    IntegrationHome h(3);
    const std::string dump = h.home + "/sim.json";
    // A fifth of the add replies lost, one reply in ten sent twice, every reply 2 ms late.
    ChildProcess sim =
        startSim(h.port, {"--count", "1", "--large-rights", "--fault", "loss:18:20", "--duplicate",
                          "0.1", "--delay", "2", "--seed", "11", "--dump", dump});
    ASSERT_TRUE(sim.waitForLine("ready"));
    FakeClock clock(50ms);
    RecordingUserPort port;
    ToolSession session(h.home, port, &clock);
    session.start();
    session.log().setEcho(false);
    auto record = session.refreshDevice("127.0.0.1", 5000);
    ASSERT_TRUE(record);

    constexpr std::uint32_t kFirst = 7000000, kCards = 1000;
    RightFields fields;
    for (std::uint32_t n = kFirst; n < kFirst + kCards; ++n)
        fields.numbers += std::to_string(n) + ";";
    RightBatchResult added = addRights(session, record, fields);
    EXPECT_EQ(added.cards, kCards);
    EXPECT_EQ(added.done + static_cast<long>(added.failed.size()), kCards);
    EXPECT_GT(added.resends, 100); // about a fifth of the cards needed one
    EXPECT_TRUE(unique(added.failed));

    auto state = requestSimDump(sim, dump);
    ASSERT_TRUE(state);
    const JsonValue& controller = simController(*state, "127.0.0.1");
    std::vector<std::uint32_t> stored = cardsInDump(controller);
    EXPECT_TRUE(unique(stored));
    std::set<std::uint32_t> onController(stored.begin(), stored.end());
    std::set<std::string> failed(added.failed.begin(), added.failed.end());
    for (std::uint32_t n = kFirst; n < kFirst + kCards; ++n)
        EXPECT_TRUE(onController.count(n) || failed.count(std::to_string(n))) << n;
    // Nothing arrived that was not sent; a card confirmed is a card stored.
    for (std::uint32_t n : onController)
        EXPECT_TRUE(n >= kFirst && n < kFirst + kCards) << n;
    EXPECT_GE(onController.size(), static_cast<std::size_t>(added.done));
    // The grant log holds each confirmed card once (its lines are the core's to test).
    EXPECT_EQ(fileLines(h.home + "/" + clock.format("授权日志-%Y%m%d.txt")).size(),
              static_cast<std::size_t>(added.done));

    // Reading them back gives the same rights, each once, in position order.
    ByteWriter(record->doorConfig, 8).putU32le(static_cast<std::uint32_t>(stored.size()));
    DownloadResult read = downloadRights(session, *record, true, false);
    session.stop();
    EXPECT_EQ(read.rc, 0);
    std::vector<std::uint32_t> downloaded;
    for (const auto& line : read.lines) {
        auto right = parseRightText(line, {});
        ASSERT_TRUE(std::holds_alternative<xRight>(right)) << line;
        downloaded.push_back(std::get<xRight>(right).cardLow);
    }
    EXPECT_EQ(downloaded, stored);
}

TEST(RightsCli, EachCommandOnASimulatedController) {
    IntegrationHome h(4);
    const std::string dump = h.home + "/sim.json";
    ChildProcess sim =
        startSim(h.port, {"--count", "2", "--right-mode", "2", "--large-rights", "--dump", dump});
    ASSERT_TRUE(sim.waitForLine("ready"));
    int code = -1;
    EXPECT_EQ(withoutElapsed(h.cli({"rights", "add", "-d", "127.0.0.1", "11", "12", "13",
                                    "--readers", "16", "--type", "3", "--parcel"},
                                   &code)),
              "操作成功！\n添加权限：共3，成功3，失败0，无应答0\n");
    EXPECT_EQ(code, 0);
    h.cli({"rights", "download", "-d", "127.0.0.1"}, &code);
    EXPECT_EQ(code, 0);
    auto lines = fileLines(h.home + "/下载权限.txt");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find(";读头=16;"), std::string::npos) << lines[0];
    std::string one = h.cli({"rights", "download", "-d", "127.0.0.1", "--card", "13"}, &code);
    EXPECT_EQ(one.rfind("获取权限成功，信息=【序号=0000000000;卡号=0000000013;", 0), 0u) << one;
    h.cli({"rights", "copy", "--from", "127.0.0.1", "--to", "127.0.0.2"}, &code);
    EXPECT_EQ(code, 0);
    // The swipe is not waited for: the clear that follows is, so the swipe is in the dump.
    h.cli({"--yes", "rights", "swipe", "-d", "127.0.0.1", "11", "--readers", "0"}, &code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(h.cli({"--yes", "rights", "clear", "-d", "127.0.0.1"}, &code), "权限操作成功！\n");
    auto state = requestSimDump(sim, dump);
    ASSERT_TRUE(state);
    const JsonValue& first = simController(*state, "127.0.0.1");
    EXPECT_EQ(first["rights"]["count"].integer(), 0);
    EXPECT_EQ(first["rights"]["lastSwipe"]["reader"].integer(), 5);
    auto copied = cardsInDump(simController(*state, "127.0.0.2"));
    EXPECT_EQ(std::set<std::uint32_t>(copied.begin(), copied.end()),
              (std::set<std::uint32_t>{11, 12, 13}));
}
