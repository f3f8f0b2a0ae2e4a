// Text commands over real datagrams: one run gives three simulated controllers consecutive
// addresses, each answering where the request reached it, and a later search finds them at
// the new ones.
#include <gtest/gtest.h>

#include "remote_sim.h"
#include "summary_text.h"

using namespace quorvane;
using namespace quorvane::test;

TEST(TextCommands, ASequenceReaddressesThreeControllersInOneRun) {
    RemoteSim s;
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    std::string answered;
    for (int i = 0; i < 3; ++i)
        answered += "操作成功！setIp;setIpAlloc\n";
    answered +=
        "操作成功！\n文本指令：共3，成功3，失败0，无应答0\n127.0.0.3：成功\n127.0.0.1：成功\n"
        "127.0.0.2：成功\n";
    int code = -1;
    EXPECT_EQ(withoutElapsed(s.h.cli({"text", "-d", "127.0.0.3", "-d", "127.0.0.1", "-d",
                                      "127.0.0.2", "--cmd", "setIp=127.0.0.{SEQ100};setIpAlloc=0"},
                                     &code)),
              answered);
    EXPECT_EQ(code, 0);
    std::vector<std::string> found;
    for (const auto& line : splitLines(s.h.cli({"search", "--wait", "1500"})))
        found.push_back(splitTabs(line).at(2) + "=" + splitTabs(line).at(1));
    EXPECT_EQ(found, (std::vector<std::string>{"127.0.0.100=门禁3", "127.0.0.101=门禁1",
                                               "127.0.0.102=门禁2"}));
    EXPECT_EQ(s.controller("127.0.0.101")["text"]["received"][0].str(),
              "setIp=127.0.0.101;setIpAlloc=0");
}
