// quorvane-cli output that programs read: with --json standard output is one JSON document,
// whatever the controllers send and whether or not the program directory can be written; a
// one-run choice of interface writes nothing to config.ini.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

#include "integration_home.h"
#include "json_value.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct CliRun {
    int code = -1;
    std::string out, err;
};

CliRun cliIn(const IntegrationHome& h, std::vector<std::string> words) {
    std::vector<std::string> args = {"--home", h.home, "--password", "720418"};
    args.insert(args.end(), words.begin(), words.end());
    std::ostringstream out, err;
    CliRun r;
    r.code = cli::runCli(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// The rows of a search document, each a member name → text map.
std::vector<std::map<std::string, std::string>> rowsOf(const std::string& document) {
    std::string error;
    auto json = parseJson(document, &error);
    EXPECT_TRUE(json) << error << "\n" << document;
    std::vector<std::map<std::string, std::string>> rows;
    if (!json)
        return rows;
    EXPECT_EQ(json->kind(), JsonValue::Kind::Array);
    for (std::size_t i = 0; i < json->size(); ++i) {
        std::map<std::string, std::string> row;
        for (const auto& name : (*json)[i].keys())
            row[name] = (*json)[i][name].str();
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(MachineOutput, CorruptRepliesLeaveTheJsonDocumentWholeAndTheNoticesOnStandardError) {
    IntegrationHome h;
    ChildProcess sim(std::vector<std::string>{simPath(), "--port", std::to_string(h.port),
                                              "--count", "2", "--corrupt", "1", "--seed", "3"});
    ASSERT_TRUE(sim.waitForLine("ready"));
    CliRun r = cliIn(h, {"search", "--wait", "1000", "--json"});
    EXPECT_EQ(r.code, 0);
    // A reply that fails its checksum is shown as such and lists nothing.
    EXPECT_TRUE(rowsOf(r.out).empty());
    std::size_t notices = 0;
    for (std::size_t at = 0; (at = r.err.find("返回消息检验和失败！", at)) != std::string::npos;
         ++at)
        ++notices;
    EXPECT_EQ(notices, 2u) << r.err;
}

TEST(MachineOutput, AReadOnlyProgramDirectoryStillGivesOneJsonDocument) {
    IntegrationHome h;
    ChildProcess sim(
        std::vector<std::string>{simPath(), "--port", std::to_string(h.port), "--count", "3"});
    if (::geteuid() == 0 && ::access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "setpriv is needed to drop root";
    ASSERT_TRUE(sim.waitForLine("ready"));
    const std::string before = readFile(h.home + "/config.ini");
    std::filesystem::permissions(h.home, std::filesystem::perms(0555));
    // Root writes anywhere: the program then runs as another user, for whom the folder is
    // read-only as well.
    std::vector<std::string> argv;
    if (::geteuid() == 0)
        argv = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    for (const auto& w : {cliPath(), std::string("--home"), h.home, std::string("--password"),
                          std::string("720418"), std::string("search"), std::string("--wait"),
                          std::string("1000"), std::string("--json")})
        argv.push_back(w);
    ChildProcess cli(argv);
    int code = cli.wait();
    std::filesystem::permissions(h.home, std::filesystem::perms(0755));
    EXPECT_EQ(code, 0);
    auto rows = rowsOf(cli.output());
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_EQ(readFile(h.home + "/config.ini"), before);
}

TEST(MachineOutput, AOneRunMulticastInterfaceWritesNothingToTheSettings) {
    const int groupPort = testPort(3);
    IntegrationHome h(
        0, "mcast-address=239.255.41.7\nmcast-dev-admin-port=" + std::to_string(groupPort) + "\n");
    // Loopback only: the group is joined and sent to on 127.0.0.1.
    ChildProcess sim(std::vector<std::string>{simPath(), "--port", std::to_string(h.port),
                                              "--count", "2", "--multicast-group", "239.255.41.7",
                                              "--multicast-port", std::to_string(groupPort),
                                              "--multicast-interface", "127.0.0.1"});
    ASSERT_TRUE(sim.waitForLine("ready"));
    const std::string before = readFile(h.home + "/config.ini");
    CliRun r = cliIn(h, {"search", "--mcast", "--iface", "127.0.0.1", "--wait", "1000"});
    EXPECT_EQ(r.code, 0) << r.err;
    auto lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 2u) << r.out << r.err;
    EXPECT_EQ(splitTabs(lines[0]).at(6), "0-正常/组播;");
    EXPECT_EQ(readFile(h.home + "/config.ini"), before);
}
