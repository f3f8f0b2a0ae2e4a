// quorvane-cli and the engine against quorvane-sim over loopback, each with its state dump in a
// program directory of the test's own. The configuration and record commands run in one round
// each: what each prints, its exit code, and what the simulated controllers keep afterwards
// (what the blocks and texts hold is the core's to test; here the words reach the right
// operation). A fetch of 300 records takes the controller's burst of 300 replies. The engine's
// receive and handling threads serve two callers at once. A thousand cards added while a fifth
// of the answers are lost, repeated and late end either on the controller or on the failure
// list, as the simulator's state and a download both show; the rights commands of the command
// line that no JSON row runs run on two controllers.
#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <set>

#include <nlohmann/json.hpp>

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

struct RemoteSim {
    explicit RemoteSim(std::vector<std::string> extra = {}, int portOffset = 0, int count = 3)
        : h(portOffset), dumpFile(h.home + "/dump.json"), sim([&] {
              extra.insert(extra.end(), {"--count", std::to_string(count), "--dump", dumpFile});
              return startSim(h.port, extra);
          }()) {}

    // The dump entry of the controller at address; a null value (and a failure) without one.
    JsonValue controller(const std::string& address) {
        auto d = requestSimDump(sim, dumpFile);
        EXPECT_TRUE(d) << "no dump from the simulator";
        return d ? simController(*d, address) : JsonValue();
    }

    IntegrationHome h;
    std::string dumpFile;
    ChildProcess sim;
};

JsonValue config(RemoteSim& s, const std::string& address) {
    return s.controller(address)["configuration"];
}
int requests(RemoteSim& s, const std::string& address, int code) {
    return static_cast<int>(s.controller(address)["requests"][std::to_string(code)].integer());
}

// D32 on, the settings part of the door block, as spaced hexadecimal.
std::string doorSettings(const JsonValue& config) {
    return hex(unhex(config["doorBlock"].str()).substr(32));
}

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

TEST(ConfigCli, EachConfigurationCommandOnASimulatedController) {
    RemoteSim sim;
    ASSERT_TRUE(sim.sim.waitForLine("ready"));
    const IntegrationHome& h = sim.h;
    int code = -1;
    EXPECT_EQ(h.cli({"save", "-d", "127.0.0.2", "--host-ip", "127.0.0.77", "--host-port", "50123",
                     "--report-mode", "2"},
                    &code),
              "操作成功！\n");
    EXPECT_EQ(code, 0);
    // Not confirmed: nothing is sent. Confirmed: by broadcast, to that controller's id only.
    h.cli({"save", "-d", "127.0.0.3", "--broadcast", "--host-port", "50124"}, &code);
    EXPECT_EQ(code, 3);
    EXPECT_EQ(requests(sim, "127.0.0.3", 4), 0);
    EXPECT_EQ(
        h.cli({"--yes", "save", "-d", "127.0.0.3", "--broadcast", "--host-port", "50124"}, &code),
        "操作成功！\n");
    JsonValue c = config(sim, "127.0.0.2");
    EXPECT_EQ(c["basicWrites"].integer(), 1);
    EXPECT_EQ(c["reportMode"].integer(), 2);
    EXPECT_EQ(c["hostPort"].integer(), 50123);
    // The PC receiving reports, at B34 of the basic block.
    EXPECT_EQ(hex(unhex(c["basicBlock"].str()).substr(34, 4)), "7F 00 00 4D");
    EXPECT_EQ(config(sim, "127.0.0.3")["hostPort"].integer(), 50124);
    EXPECT_EQ(requests(sim, "127.0.0.1", 4), 0);

    // The door block: backed up to a file, the edited file restored; its show and its copy to
    // other controllers are the JSON rows' and the core's.
    const std::string saved = h.home + "/saved.cfg";
    EXPECT_EQ(h.cli({"door-config", "-d", "127.0.0.2", "--backup", saved}, &code), "保存成功！\n");
    EXPECT_EQ(hex(readFile(saved)), doorSettings(config(sim, "127.0.0.2")));
    // Relay 1 in time zone 1 with report (flags 0x01).
    std::string edited = readFile(saved);
    edited[288 - 32 + 1] = 0x01;
    writeFile(saved, edited);
    EXPECT_EQ(h.cli({"door-config", "-d", "127.0.0.2", "--restore", saved}, &code), "保存成功！\n");
    EXPECT_EQ(hex(edited), doorSettings(config(sim, "127.0.0.2")));

    // The controller's own backups; then everything cleared.
    EXPECT_EQ(h.cli({"--yes", "restore", "-d", "127.0.0.1"}, &code), "操作失败！\n");
    EXPECT_EQ(code, 1);
    EXPECT_EQ(h.cli({"--yes", "backup-factory", "-d", "127.0.0.1"}, &code), "操作成功！\n");
    EXPECT_EQ(h.cli({"--yes", "backup", "-d", "127.0.0.1"}, &code), "操作成功！\n");
    h.cli({"save", "-d", "127.0.0.1", "--host-port", "50123"}, &code);
    EXPECT_EQ(h.cli({"--yes", "restore-factory", "-d", "127.0.0.1"}, &code), "操作成功！\n");
    EXPECT_EQ(config(sim, "127.0.0.1")["hostPort"].integer(), 50000);
    EXPECT_EQ(h.cli({"--yes", "clear-all", "-d", "127.0.0.1"}, &code),
              "清除所有数据命令已发送，完成后控制器将自动重新启动！\n");
    EXPECT_EQ(code, 0);
    c = config(sim, "127.0.0.1");
    EXPECT_EQ(c["clearAlls"].integer(), 1);
    EXPECT_TRUE(c["backup"].isNull());
    EXPECT_TRUE(c["factory"].isNull());
}

TEST(LogsCli, EachRecordCommandPrintsAndExits) {
    RemoteSim sim({"--logs", "700"}, 41, 1);
    ASSERT_TRUE(sim.sim.waitForLine("ready"));
    auto run = [&](std::vector<std::string> words) {
        words.insert(words.begin() + 2, {"-d", "127.0.0.1"});
        int code = -1;
        std::string out = sim.h.cli(words, &code);
        EXPECT_EQ(code, 0) << words[0] << " " << words[1];
        return out;
    };
    // A fetch prints its summary, then the text collected.
    auto burst = splitLines(run({"logs", "fetch", "--start", "400", "--count", "300"}));
    ASSERT_GE(burst.size(), 302u);
    EXPECT_EQ(burst[1], "提取记录：共300，成功300，失败0，无应答0");
    EXPECT_EQ(std::count_if(burst.begin(), burst.end(),
                            [](const std::string& x) { return x.rfind("获取记录成功", 0) == 0; }),
              300);

    auto doc =
        nlohmann::json::parse(run({"logs", "fetch", "--start", "699", "--count", "2", "--json"}));
    ASSERT_EQ(doc.size(), 2u);
    EXPECT_EQ(doc[0]["index"], 699);
    EXPECT_EQ(doc[0]["time"], "2026-01-01 11:39:00");
    EXPECT_EQ(doc[1]["type"], "没有数据");

    // The viewer opens on its last page (records 691..700), read from the EEPROM buffer.
    auto page = splitLines(run({"logs", "view", "--card-only"}));
    ASSERT_EQ(page.size(), 10u);
    std::string blanked = "691\t2026-01-01 11:30:00\t非刷卡日志";
    for (int c = 3; c < 20; ++c)
        blanked += "\t-";
    EXPECT_EQ(page[0], blanked);
    EXPECT_EQ(page[1].rfind("692\t2026-01-01 11:31:00\t刷卡记录\t正常记录\t0003000691\t", 0), 0u)
        << page[1];

    run({"logs", "fill"});
    EXPECT_EQ(sim.controller("127.0.0.1")["logs"]["count"].integer(), 701);
}

// Two operations on two threads, each with its own target: every reply reaches the exchange
// that asked for it, never the other.
TEST(RemoteThreads, TwoThreadsRefreshingTwoControllersEachGetTheirOwn) {
    RemoteSim s;
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    RecordingUserPort port;
    ToolSession session(s.h.home, port);
    session.start();
    session.log().setEcho(false);
    auto refreshMany = [&](const std::string& ip, const std::string& name) {
        int right = 0;
        for (int i = 0; i < 100; ++i) {
            auto record = session.refreshDevice(ip, 5000);
            right += record && record->name == name && record->ip == ip;
        }
        return right;
    };
    auto a = std::async(std::launch::async, refreshMany, "127.0.0.2", "门禁2");
    auto b = std::async(std::launch::async, refreshMany, "127.0.0.3", "门禁3");
    EXPECT_EQ(a.get(), 100);
    EXPECT_EQ(b.get(), 100);
    EXPECT_EQ(session.dispatcher().slotCount(), 0u);
    EXPECT_EQ(session.devices().size(), 0u);
    session.stop();
}

TEST(RightsUnderLoss, AThousandCardsEndOnTheControllerOrOnTheFailureList) {
    // A fifth of the add replies lost, one reply in ten sent twice, every reply 2 ms late.
    RemoteSim s({"--large-rights", "--fault", "loss:18:20", "--duplicate", "0.1", "--delay", "2",
                 "--seed", "11"},
                3, 1);
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    const IntegrationHome& h = s.h;
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

    const JsonValue controller = s.controller("127.0.0.1");
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
    RemoteSim s({"--right-mode", "2", "--large-rights"}, 4, 2);
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    const IntegrationHome& h = s.h;
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
    const JsonValue first = s.controller("127.0.0.1");
    EXPECT_EQ(first["rights"]["count"].integer(), 0);
    EXPECT_EQ(first["rights"]["lastSwipe"]["reader"].integer(), 5);
    auto copied = cardsInDump(s.controller("127.0.0.2"));
    EXPECT_EQ(std::set<std::uint32_t>(copied.begin(), copied.end()),
              (std::set<std::uint32_t>{11, 12, 13}));
}
