// Broadcast and multicast searches between two network namespaces joined by a bridge in a
// third one. Everything lives in namespaces this test creates and deletes; the root namespace
// sends nothing. Needs root; skips otherwise.
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include "integration_home.h"

using namespace quorvane::test;

namespace {

std::string ipTool() {
    for (const char* p : {"/usr/sbin/ip", "/sbin/ip", "/usr/bin/ip", "/bin/ip"})
        if (::access(p, X_OK) == 0) return p;
    return {};
}

int run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

// The bridge namespace and one host namespace per address; deleted again on every path out.
class TestNetwork {
public:
    TestNetwork() : tag_("qv" + std::to_string(::getpid())) {}
    ~TestNetwork() {
        for (auto it = created_.rbegin(); it != created_.rend(); ++it) run("ip netns del " + *it);
    }
    std::string name(const std::string& host) const { return tag_ + host; }

    bool build(const std::vector<std::pair<std::string, std::string>>& hosts) {
        const std::string bridge = name("br");
        if (!add(bridge) || run("ip -n " + bridge + " link add br0 type bridge") != 0 ||
            run("ip -n " + bridge + " link set br0 up") != 0)
            return false;
        for (const auto& [host, address] : hosts) {
            const std::string ns = name(host);
            const std::string veth = "v" + host;
            if (!add(ns) ||
                run("ip -n " + bridge + " link add " + veth + " type veth peer name eth0 netns " + ns) != 0 ||
                run("ip -n " + bridge + " link set " + veth + " master br0 up") != 0 ||
                run("ip -n " + ns + " addr add " + address + "/24 brd + dev eth0") != 0 ||
                run("ip -n " + ns + " link set eth0 up") != 0 ||
                run("ip -n " + ns + " link set lo up") != 0)
                return false;
        }
        return true;
    }

private:
    bool add(const std::string& ns) {
        if (run("ip netns add " + ns) != 0) return false;
        created_.push_back(ns);
        return true;
    }
    std::string tag_;
    std::vector<std::string> created_;
};

} // namespace

TEST(NetworkNamespaces, BroadcastAndMulticastSearchesFindControllersInAnotherNamespace) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to create network namespaces";
    const std::string ip = ipTool();
    if (ip.empty()) GTEST_SKIP() << "ip (iproute2) not installed";
    TestNetwork net;
    if (!net.build({{"tool", "10.77.0.1"}, {"ctl", "10.77.0.2"}}))
        GTEST_SKIP() << "network namespaces cannot be created here";

    IntegrationHome h(0, "mcast-address=224.10.0.0\nmcast-dev-admin-port=3366\n");
    // Two controllers behind one address, each with its own MAC and name.
    ChildProcess sim(std::vector<std::string>{
        ip, "netns", "exec", net.name("ctl"), simPath(), "--port", std::to_string(h.port),
        "--address", "10.77.0.2", "--address", "10.77.0.2", "--allow-remote",
        "--multicast-group", "224.10.0.0", "--multicast-port", "3366",
        "--multicast-interface", "10.77.0.2"});
    ASSERT_TRUE(sim.waitForLine("ready"));

    auto cli = [&](std::vector<std::string> words) {
        std::vector<std::string> argv = {ip, "netns", "exec", net.name("tool"),
                                         binDir() + "/src/cli/quorvane-cli", "--home", h.home,
                                         "--password", "720418", "search"};
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
    for (const auto& r : rows) EXPECT_EQ(splitTabs(r).at(6), "0-正常/组播;");
    EXPECT_NE(splitTabs(rows[0]).at(10), splitTabs(rows[1]).at(10));
}
