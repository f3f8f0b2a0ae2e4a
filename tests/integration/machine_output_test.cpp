// quorvane-cli output that programs read: with --json standard output is one JSON document,
// whatever the controllers send and whether or not the program directory can be written; a
// one-run choice of interface writes nothing to config.ini.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "integration_home.h"
#include "json_value.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

// The rows of a search document, which must be one JSON array.
std::size_t rowsOf(const std::string& document) {
    std::string error;
    auto json = parseJson(document, &error);
    EXPECT_TRUE(json && json->kind() == JsonValue::Kind::Array) << error << "\n" << document;
    return json ? json->size() : 0;
}

} // namespace

TEST(MachineOutput, CorruptRepliesLeaveTheJsonDocumentWholeAndTheNoticesOnStandardError) {
    IntegrationHome h;
    ChildProcess sim = startSim(h.port, {"--count", "2", "--corrupt", "1", "--seed", "3"});
    ASSERT_TRUE(sim.waitForLine("ready"));
    int code = -1;
    std::string err;
    // A reply that fails its checksum is shown as such and lists nothing.
    EXPECT_EQ(rowsOf(h.cli({"search", "--wait", "1000", "--json"}, &code, &err)), 0u);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(err, "返回消息检验和失败！\n返回消息检验和失败！\n");
}

TEST(MachineOutput, AReadOnlyProgramDirectoryStillGivesOneJsonDocument) {
    IntegrationHome h;
    ChildProcess sim = startSim(h.port, {"--count", "3"});
    if (::geteuid() == 0 && ::access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "setpriv is needed to drop root";
    ASSERT_TRUE(sim.waitForLine("ready"));
    const std::string before = readFile(h.home + "/config.ini");
    std::filesystem::permissions(h.home, std::filesystem::perms(0555));
    // Root writes anywhere: the program then runs as another user, for whom the folder is
    // read-only as well.
    std::vector<std::string> argv = {cliPath(), "--home", h.home, "--password", "720418",
                                     "search",  "--wait", "1000", "--json"};
    if (::geteuid() == 0)
        argv.insert(argv.begin(),
                    {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
    ChildProcess cli(argv);
    int code = cli.wait();
    std::filesystem::permissions(h.home, std::filesystem::perms(0755));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(rowsOf(cli.output()), 3u);
    EXPECT_EQ(readFile(h.home + "/config.ini"), before);
}

TEST(MachineOutput, AOneRunMulticastInterfaceWritesNothingToTheSettings) {
    const int groupPort = testPort(3);
    IntegrationHome h(
        0, "mcast-address=239.255.41.7\nmcast-dev-admin-port=" + std::to_string(groupPort) + "\n");
    // Loopback only: the group is joined and sent to on 127.0.0.1.
    ChildProcess sim =
        startSim(h.port, {"--count", "2", "--multicast-group", "239.255.41.7", "--multicast-port",
                          std::to_string(groupPort), "--multicast-interface", "127.0.0.1"});
    ASSERT_TRUE(sim.waitForLine("ready"));
    const std::string before = readFile(h.home + "/config.ini");
    int code = -1;
    std::string err;
    auto lines = splitLines(
        h.cli({"search", "--mcast", "--iface", "127.0.0.1", "--wait", "1000"}, &code, &err));
    EXPECT_EQ(code, 0) << err;
    ASSERT_EQ(lines.size(), 2u) << err;
    EXPECT_EQ(splitTabs(lines[0]).at(6), "0-正常/组播;");
    EXPECT_EQ(readFile(h.home + "/config.ini"), before);
}
