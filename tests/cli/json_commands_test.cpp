// --json on every command that reports data or a batch, against quorvane-sim: standard output
// is one document that parses, with the members every document has, the command's own, and
// for a batch its counts and each failed item with its reason.
#include <gtest/gtest.h>

#include "integration_home.h"
#include "json_value.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

// total, done, succeeded, failed, unanswered of a batch.
using Counts = std::array<long, 5>;

struct JsonRow {
    const char* name;
    std::vector<std::string> words; // "@name": a file in the program directory
    int code;
    std::vector<std::string> keys; // members besides command, ok, exit and messages
    std::optional<Counts> counts = std::nullopt;
    std::string failures = {}; // "item reason;" of each failed item
};

class JsonCommands : public ::testing::TestWithParam<JsonRow> {};

} // namespace

TEST_P(JsonCommands, PrintOneDocumentWithTheResult) {
    IntegrationHome h;
    // Two controllers; the second never answers a text command.
    ChildProcess sim =
        startSim(h.port, {"--count", "2", "--large-rights", "--fault", "drop:148:100@127.0.0.2"});
    ASSERT_TRUE(sim.waitForLine("ready"));
    writeFile(h.home + "/ids.txt", "100\r\n200\r\n");
    writeFile(h.home + "/finger.tpl", std::string(996, 'A'));
    writeFile(h.home + "/fw.bin", std::string(1000, '\x01'));
    std::vector<std::string> words = {"--yes"};
    for (const auto& w : GetParam().words)
        words.push_back(w[0] == '@' ? h.home + "/" + w.substr(1) : w);
    words.push_back("--json");
    int code = -1;
    std::string err;
    const std::string out = h.cli(words, &code, &err);
    EXPECT_EQ(code, GetParam().code) << err;
    std::string error;
    auto doc = parseJson(out, &error);
    ASSERT_TRUE(doc) << error << "\n" << out;
    EXPECT_EQ((*doc)["ok"].boolean(), GetParam().code == 0);
    EXPECT_EQ((*doc)["exit"].integer(), GetParam().code);
    EXPECT_EQ((*doc)["messages"].kind(), JsonValue::Kind::Array);
    for (const auto& key : GetParam().keys)
        EXPECT_TRUE(doc->has(key)) << key << "\n" << out;
    if (const auto& counts = GetParam().counts) {
        const char* names[] = {"total", "done", "succeeded", "failed", "unanswered"};
        for (std::size_t i = 0; i < counts->size(); ++i)
            EXPECT_EQ((*doc)[names[i]].integer(), (*counts)[i]) << names[i] << "\n" << out;
        EXPECT_FALSE((*doc)["cancelled"].boolean());
    }
    std::string failures;
    for (std::size_t i = 0; i < (*doc)["failures"].size(); ++i)
        failures +=
            (*doc)["failures"][i]["item"].str() + " " + (*doc)["failures"][i]["reason"].str() + ";";
    EXPECT_EQ(failures, GetParam().failures);
}

using W = std::vector<std::string>;
using K = std::vector<std::string>;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cli, JsonCommands, ::testing::Values(
    JsonRow{"Detail", W{"detail", "-d", "127.0.0.1"}, 0, K{"service", "device"}},
    JsonRow{"DoorConfig", W{"door-config", "-d", "127.0.0.1", "--show"}, 0, K{"door"}},
    JsonRow{"CopyConfig", W{"copy-config", "--from", "127.0.0.1", "--to", "127.0.0.2"}, 0, K{},
            Counts{1, 1, 1, 0, 0}},
    JsonRow{"TimeGet", W{"time", "get", "-d", "127.0.0.1"}, 0, K{"time"}},
    JsonRow{"RightsCheckOfAnAbsentCard", W{"rights", "check", "-d", "127.0.0.1", "300", "1234567890123456789012"}, 1,
            K{"failureFile"}, Counts{2, 2, 0, 2, 0}, "300 refused;1234567890123456789012 invalid;"},
    JsonRow{"RightsGet", W{"rights", "get", "-d", "127.0.0.1", "--start", "1"}, 0,
            K{"position", "right"}},
    JsonRow{"RightsDownload", W{"rights", "download", "-d", "127.0.0.1"}, 0,
            K{"complete", "count", "rights", "file"}},
    JsonRow{"RightsImage", W{"rights", "image", "-d", "127.0.0.1", "--ids"}, 0, K{"pages"}},
    JsonRow{"MemRead", W{"mem", "read", "eeprom", "-d", "127.0.0.1", "@e.bin"}, 0, K{"file", "pages"}},
    JsonRow{"FirmwareUpgrade", W{"firmware", "upgrade", "-d", "127.0.0.1", "@fw.bin"}, 0,
            K{"file", "pages"}},
    JsonRow{"IdsFetch", W{"ids", "fetch", "-d", "127.0.0.1", "--count", "2"}, 0,
            K{"count", "documents"}},
    JsonRow{"LogsFill", W{"logs", "fill", "-d", "127.0.0.1"}, 0, K{"count"}},
    JsonRow{"TextToASilentTarget",
            W{"text", "-d", "127.0.0.1", "-d", "127.0.0.2", "--cmd", "setIpAlloc=0"}, 1, K{},
            Counts{2, 2, 1, 0, 1}, "127.0.0.2 unanswered;"},
    JsonRow{"Finger", W{"finger", "-d", "127.0.0.1", "@finger.tpl"}, 0, K{"file"}},
    JsonRow{"SilentDevice", W{"time", "get", "-d", "127.0.0.9"}, 1, K{"command"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on
