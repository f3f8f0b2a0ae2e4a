// Broadcast and multicast searches between two network namespaces joined by a bridge in a
// third one. Everything lives in namespaces this test creates and deletes; the root namespace
// sends nothing. Needs root; skips otherwise.
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include "integration_home.h"

using namespace quorvane::test;

namespace {

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
