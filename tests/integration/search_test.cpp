// Searches against quorvane-sim and tavrin over real loopback sockets, and between two network
// namespaces joined by a bridge in a third one (everything there lives in namespaces the test
// creates and deletes, the root namespace sends nothing; it needs root and skips otherwise); with
// --json standard output is one JSON document, whatever the controllers send and whether or not
// the program directory can be written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "integration_home.h"
#include "json_value.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

std::vector<std::string> column(const std::string& out, std::size_t c) {
    std::vector<std::string> v;
    for (const auto& line : splitLines(out))
        v.push_back(splitTabs(line).at(c));
    return v;
}

// The rows of a search document, which must be one JSON array.
std::size_t rowsOf(const std::string& document) {
    std::string error;
    auto json = parseJson(document, &error);
    EXPECT_TRUE(json && json->kind() == JsonValue::Kind::Array) << error << "\n" << document;
    return json ? json->size() : 0;
}

int run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

// The bridge namespace and one host namespace per address; deleted again on every path out
// (deleting one that was never made does nothing).
class TestNetwork {
  public:
    explicit TestNetwork(std::vector<std::pair<std::string, std::string>> hosts)
        : tag_("qv" + std::to_string(::getpid())), hosts_(std::move(hosts)) {}
    ~TestNetwork() {
        for (const auto& [host, address] : hosts_)
            run("ip netns del " + name(host));
        run("ip netns del " + name("br"));
    }
    std::string name(const std::string& host) const { return tag_ + host; }
    // The start of a command line run inside a host's namespace (env finds ip as the shell did).
    std::vector<std::string> in(const std::string& host) const {
        return {"/usr/bin/env", "ip", "netns", "exec", name(host)};
    }

    bool build() const {
        const std::string br = "ip -n " + name("br") + " link ";
        std::vector<std::string> commands = {"ip netns add " + name("br"),
                                             br + "add br0 type bridge", br + "set br0 up"};
        for (const auto& [host, address] : hosts_) {
            const std::string in = "ip -n " + name(host) + " ";
            commands.insert(commands.end(),
                            {"ip netns add " + name(host),
                             br + "add v" + host + " type veth peer name eth0 netns " + name(host),
                             br + "set v" + host + " master br0 up",
                             in + "addr add " + address + "/24 brd + dev eth0",
                             in + "link set eth0 up", in + "link set lo up"});
        }
        for (const auto& c : commands)
            if (run(c) != 0)
                return false;
        return true;
    }

  private:
    std::string tag_;
    std::vector<std::pair<std::string, std::string>> hosts_;
};

} // namespace

TEST(Search, CliListsEverySimulatedControllerInAddressOrder) {
    const std::string groupPort = std::to_string(testPort(3));
    IntegrationHome h(0, "mcast-address=239.255.41.7\nmcast-dev-admin-port=" + groupPort + "\n");
    // Addresses given out of order: the list is ordered, not in arrival order. Control
    // characters in the names must not split a row. Loopback only: the group is joined and sent
    // to on 127.0.0.1.
    ChildProcess sim = startSim(h.port, {"--block",
                                         "mixed",
                                         "--name-prefix",
                                         "门\t禁\n",
                                         "--address",
                                         "127.0.0.9",
                                         "--address",
                                         "127.0.0.3",
                                         "--address",
                                         "127.0.0.10",
                                         "--address",
                                         "127.0.0.1",
                                         "--address",
                                         "127.0.0.2",
                                         "--multicast-group",
                                         "239.255.41.7",
                                         "--multicast-port",
                                         groupPort,
                                         "--multicast-interface",
                                         "127.0.0.1"});
    ASSERT_TRUE(sim.waitForLine("ready"));
    int rc = -1;
    std::string out = h.cli({"search", "--wait", "1500"}, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(column(out, 2), (std::vector<std::string>{"127.0.0.1", "127.0.0.2", "127.0.0.3",
                                                        "127.0.0.9", "127.0.0.10"}));
    auto first = splitTabs(splitLines(out).at(0));
    ASSERT_EQ(first.size(), 12u);
    EXPECT_EQ(first[0], "00261"); // group 1, number 5 (the fourth controller)
    EXPECT_EQ(first[1], "门 禁 4");
    EXPECT_EQ(first[6], "0-正常/广播;");
    EXPECT_EQ(first[10], "00.1a.2b.00.00.04");
    // The search address and port were written back as the window writes them.
    Settings settings(h.home);
    EXPECT_EQ(settings.readInt("net", "common-broadcast-address", 0), 2147483647);

    std::string json = h.cli({"search", "--wait", "1500", "--json"}, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(std::count(json.begin(), json.end(), '{'), 5);
    EXPECT_NE(json.find("\"设备IP地址\": \"127.0.0.10\""), std::string::npos);
    EXPECT_NE(json.find("\"门\\t禁\\n4\""), std::string::npos);

    // --to asks one address for this run only: nobody there answers, and the settings keep the
    // search address.
    EXPECT_EQ(h.cli({"search", "--to", "127.0.0.77", "--wait", "500"}), "");
    EXPECT_EQ(splitLines(h.cli({"search", "--to", "127.0.0.2", "--wait", "1000"})).size(), 1u);
    EXPECT_EQ(settings.readString("net", "common-broadcast-address"), "2147483647");

    // A one-run choice of interface writes nothing to the settings.
    const std::string before = readFile(h.home + "/config.ini");
    std::string err;
    auto rows = splitLines(
        h.cli({"search", "--mcast", "--iface", "127.0.0.1", "--wait", "1000"}, &rc, &err));
    EXPECT_EQ(rc, 0) << err;
    ASSERT_EQ(rows.size(), 5u) << err;
    EXPECT_EQ(splitTabs(rows[0]).at(6), "0-正常/组播;");
    EXPECT_EQ(readFile(h.home + "/config.ini"), before);
}

// Ten thousand controllers answer one search within a fraction of a second: all are listed.
TEST(SearchBurst, TenThousandSimulatedControllersAtOnceAreAllListed) {
    IntegrationHome h;
    ChildProcess sim = startSim(h.port, {"--count", "10000"});
    ASSERT_TRUE(sim.waitForLine("ready", std::chrono::seconds(60)));
    int rc = -1;
    std::string out = h.cli({"search", "--wait", "8000"}, &rc);
    EXPECT_EQ(rc, 0);
    auto lines = splitLines(out);
    EXPECT_EQ(lines.size(), 10000u);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(splitTabs(lines.front()).at(2), "127.0.0.1");
}

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

TEST(NetworkNamespaces, BroadcastAndMulticastSearchesFindControllersInAnotherNamespace) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to create network namespaces";
    TestNetwork net({{"tool", "10.77.0.1"}, {"ctl", "10.77.0.2"}});
    if (!net.build())
        GTEST_SKIP() << "network namespaces cannot be created here (is iproute2 installed?)";

    IntegrationHome h(0, "mcast-address=224.10.0.0\nmcast-dev-admin-port=3366\n");
    // Two controllers behind one address, each with its own MAC and name.
    std::vector<std::string> simArgv = net.in("ctl");
    simArgv.insert(simArgv.end(),
                   {simPath(), "--port", std::to_string(h.port), "--address", "10.77.0.2",
                    "--address", "10.77.0.2", "--allow-remote", "--multicast-group", "224.10.0.0",
                    "--multicast-port", "3366", "--multicast-interface", "10.77.0.2"});
    ChildProcess sim(simArgv);
    ASSERT_TRUE(sim.waitForLine("ready"));

    auto cli = [&](std::vector<std::string> words) {
        std::vector<std::string> argv = net.in("tool");
        argv.insert(argv.end(), {cliPath(), "--home", h.home, "--password", "720418", "search"});
        argv.insert(argv.end(), words.begin(), words.end());
        ChildProcess p(argv);
        EXPECT_EQ(p.wait(), 0);
        return p.output();
    };

    std::string broadcast = cli({"--to", "255.255.255.255", "--port", std::to_string(h.port),
                                 "--iface", "10.77.0.1", "--wait", "1500"});
    auto rows = splitLines(broadcast);
    ASSERT_EQ(rows.size(), 2u) << broadcast;
    for (const auto& r : rows) {
        EXPECT_EQ(splitTabs(r).at(2), "10.77.0.2");
        EXPECT_EQ(splitTabs(r).at(6), "0-正常/广播;");
    }

    std::string multicast = cli({"--mcast", "--iface", "10.77.0.1", "--wait", "1500"});
    rows = splitLines(multicast);
    ASSERT_EQ(rows.size(), 2u) << multicast;
    for (const auto& r : rows)
        EXPECT_EQ(splitTabs(r).at(6), "0-正常/组播;");
    EXPECT_NE(splitTabs(rows[0]).at(10), splitTabs(rows[1]).at(10));
}
