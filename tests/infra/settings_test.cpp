#include "infra/settings.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

#include "infra/codepage.h"
#include "test_paths.h"

namespace quorvane {
namespace {

using test::readFile;
using test::scratchDir;
using test::writeFile;

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = scratchDir("settings");
        ini = dir + "/config.ini";
    }
    std::string dir, ini;
};

TEST_F(SettingsTest, RelativeNamesResolveBesideTheProgramAbsoluteNamesStayAsGiven) {
    Settings s("/opt/quorvane");
    EXPECT_EQ(s.resolve(".\\config\\static.ini"), "/opt/quorvane/config/static.ini");
    EXPECT_EQ(s.resolve("options.ini"), "/opt/quorvane/options.ini");
    EXPECT_EQ(s.resolve("c:\\x.ini"), "c:/x.ini");
    EXPECT_EQ(s.resolve("/etc/x.ini"), "/etc/x.ini");
    // Two characters with a colon are not a drive path.
    EXPECT_EQ(s.resolve("c:"), "/opt/quorvane/c:");
}

TEST_F(SettingsTest, IntegersAndStringsReadAsTheProfileReaderReadsThem) {
    // Key, stored text, value read with the default 5.
    const std::tuple<const char*, const char*, int> cases[] = {
        {"plain", "42", 42},        {"negative", "-7", -7},    {"plus", "+9", 9},
        {"spaced ", "   15  ", 15}, {"trailing", "12abc", 12}, {"letters", "abc", 5},
        {"empty", "", 5},           {"sign-only", "-", 5},     {"hex", "0x10", 0},
        {"quoted", "\"33\"", 33},   {"wraps", "4294967297", 1}};
    // "门禁" is four GBK bytes.
    std::string text =
        "[c]\nname=ab" + toGbk("门禁") + "\nquoted=\"x y\"\nsingle='z'\nodd=\"w'\n[n]\n";
    for (auto [key, stored, value] : cases)
        text += std::string(key) + "=" + stored + "\n";
    writeFile(ini, text);
    Settings s(dir);
    for (auto [key, stored, value] : cases) {
        std::string k = key;
        EXPECT_EQ(s.readInt("n", k.substr(0, k.find(' ')), 5), value) << key;
    }
    EXPECT_EQ(s.readString("c", "name", {}, 128), "ab门禁");
    EXPECT_EQ(s.readString("c", "name", {}, 5), "ab门"); // 4 bytes fit
    EXPECT_EQ(s.readString("c", "name", {}, 4), "ab");   // 3 bytes: half a character left out
    EXPECT_EQ(s.readString("c", "name", "dflt", 0), "");
    EXPECT_EQ(s.readString("c", "quoted"), "x y");
    EXPECT_EQ(s.readString("c", "single"), "z");
    EXPECT_EQ(s.readString("c", "odd"), "\"w'");
    // A missing key gives the default without its trailing blanks, as the profile reader does.
    EXPECT_EQ(s.readString("c", "title", "a b  "), "a b");
    EXPECT_TRUE(s.readList("c", "man-types").empty());
}

// Lists drop empty items; names match without regard to case; only the first section of a
// name counts.
TEST_F(SettingsTest, ListsCaseAndRepeatedSections) {
    writeFile(ini, "[A]\nX=1\nlist=a;;b;\n[b]\ny=2\n[a]\nz=3\n");
    Settings s(dir);
    EXPECT_EQ(s.readList("a", "LIST"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(s.readInt("a", "z", 0), 0);
    ASSERT_TRUE(s.writeString("a", "x", "4"));
    ASSERT_TRUE(s.writeString("a", "z", "4"));
    EXPECT_EQ(readFile(ini), "[A]\nX=4\nlist=a;;b;\nz=4\n[b]\ny=2\n[a]\nz=3\n");
}

TEST_F(SettingsTest, AKeyWrittenIntoAnExistingSectionKeepsTheRestOfTheFile) {
    const std::string head = "; shipped settings\r\n[net]\r\n";
    const std::string rest = "unknown-key=kept  \r\n";
    const std::string tail = "; a comment inside\r\n\r\n\r\n[common]\r\ntitle=Selvane\r\n";
    writeFile(ini, head + "common-dev-admin-port = 65534\r\n" + rest + tail);
    Settings s(dir);
    // A new key goes after the section's last key, before its comments and blank lines.
    ASSERT_TRUE(s.writeString("net", "enable-mcast", "0"));
    EXPECT_EQ(readFile(ini),
              head + "common-dev-admin-port = 65534\r\n" + rest + "enable-mcast=0\r\n" + tail);
    ASSERT_TRUE(s.writeInt("net", "common-dev-admin-port", 3366));
    EXPECT_EQ(readFile(ini),
              head + "common-dev-admin-port=3366\r\n" + rest + "enable-mcast=0\r\n" + tail);
}

TEST_F(SettingsTest, NewSectionsAndFilesAreAppended) {
    Settings s(dir);
    ASSERT_TRUE(s.writeString("common", "title", "门禁控制器工具")); // stored as GBK
    EXPECT_EQ(readFile(ini), "[common]\r\ntitle=" + toGbk("门禁控制器工具") + "\r\n");
    EXPECT_EQ(s.readString("common", "title"), "门禁控制器工具");

    writeFile(ini, "[a]\nx=1"); // the last line has no line end
    ASSERT_TRUE(s.writeString("b", "y", "2"));
    EXPECT_EQ(readFile(ini), "[a]\nx=1\n[b]\ny=2\n");
    ASSERT_TRUE(s.writeString("b", "z", "3"));
    EXPECT_EQ(readFile(ini), "[a]\nx=1\n[b]\ny=2\nz=3\n");
}

TEST_F(SettingsTest, GbkNamesWithBracketOrLetterTrailBytesAreReadBack) {
    Settings s(dir);
    // A section name whose second GBK byte is ']' (0x5D) and a key whose second byte is an
    // upper-case letter: neither is taken for a bracket or folded.
    const std::string bracketTrail = fromGbk("\x81\x5D");
    const std::string letterTrail = fromGbk("\x81\x41");
    ASSERT_FALSE(bracketTrail.empty());
    ASSERT_TRUE(s.writeString(bracketTrail, letterTrail, "v1"));
    EXPECT_EQ(s.readString(bracketTrail, letterTrail), "v1");
    EXPECT_EQ(s.readString(bracketTrail, fromGbk("\x81\x61")), "");
}

TEST_F(SettingsTest, AFailedWritePrintsItsLineOnStandardErrorAndKeepsTheFile) {
    Settings s(dir);
    testing::internal::CaptureStderr();
    bool ok = s.writeString("z1", "bad-image-repeat-cnt", "10", kStaticIni); // no config dir
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "failed to write ini profile, name=" + dir +
                  "/config/static.ini,app=z1,key=bad-image-repeat-cnt,value=10\n");
    EXPECT_FALSE(ok);

    // A value with a line break would add a line of its own: refused, file untouched.
    writeFile(ini, "[a]\nx=1\n");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(s.writeString("a", "x", "2\n[b]\ny=3"));
    EXPECT_FALSE(s.writeString("a", "k=v", "2"));
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
    EXPECT_EQ(readFile(ini), "[a]\nx=1\n");
}

TEST_F(SettingsTest, StartupValuesComeFromTheFileOrTheirDefaults) {
    Settings s(dir);
    StartupValues d = readStartupValues(s);
    EXPECT_EQ(std::tuple(d.logFileMaxSizeMiB, d.commonDevAdminPort, d.mcastDevAdminPort),
              std::tuple(15360, 65534, 3366));
    writeFile(ini, "[options]\nlog-file-max-size=1\n[net]\nmcast-dev-admin-port=4000\n");
    StartupValues v = readStartupValues(s);
    EXPECT_EQ(std::tuple(v.logFileMaxSizeMiB, v.commonDevAdminPort, v.mcastDevAdminPort),
              std::tuple(1, 65534, 4000));
}

TEST_F(SettingsTest, ShippedConfigHoldsTheDocumentedDefaults) {
    Settings s(test::sourceDir() + "/dist");
    // Read as texts: each value must be in the file, not come from a default.
    std::string values;
    std::istringstream keys(
        "net mcast-address net pipe-name common title net common-dev-admin-port "
        "net mcast-dev-admin-port net enable-mcast net search-on-start "
        "net enable-pipe options log-file-max-size");
    for (std::string section, key; keys >> section >> key;)
        values += s.readString(section, key) + "|";
    EXPECT_EQ(values, "224.10.0.0|kelmorhub|Selvane|65534|3366|1|1|1|15360|");
}

// Two processes (the window and the command line) write keys of one file at the same time.
TEST_F(SettingsTest, TwoProcessesWritingDifferentKeysKeepAllOfThem) {
    constexpr int kKeys = 150;
    writeFile(ini, "[common]\ntitle=Selvane\n");
    const auto writeAll = [&](const char* section) {
        Settings s(dir);
        bool ok = true;
        for (int i = 0; i < kKeys; ++i)
            ok = s.writeInt(section, "key-" + std::to_string(i), i) && ok;
        return ok;
    };
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0)
        ::_exit(writeAll("second") ? 0 : 1);
    EXPECT_TRUE(writeAll("first"));
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    Settings s(dir);
    int kept = 0;
    for (const char* section : {"first", "second"})
        for (int i = 0; i < kKeys; ++i)
            kept += s.readInt(section, "key-" + std::to_string(i), -1) == i ? 1 : 0;
    EXPECT_EQ(kept, 2 * kKeys);
    EXPECT_EQ(s.readString("common", "title"), "Selvane");
}

// The replacement keeps the file's mode, and removes temporaries a killed writer left.
TEST_F(SettingsTest, TheNextWriteRemovesTemporaryFilesOfAKilledWriter) {
    writeFile(ini, "[a]\nx=1\n");
    std::filesystem::permissions(ini, std::filesystem::perms(0640));
    writeFile(ini + ".tmp4242-0", "[a]\nx=half");
    writeFile(ini + ".tmp77-12", "");
    writeFile(ini + ".tmpnotes", "kept: not a temporary of ours");
    writeFile(dir + "/options.ini.tmp4242-0", "kept: another file's");
    Settings s(dir);
    ASSERT_TRUE(s.writeInt("a", "x", 2));
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"config.ini", "config.ini.tmpnotes",
                                               "options.ini.tmp4242-0"}));
    EXPECT_EQ(std::filesystem::status(ini).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(s.readInt("a", "x", 0), 2);
}

TEST_F(SettingsTest, AFileChangedBehindTheReaderIsReadAgainAndAStoredValueNotWritten) {
    Settings s(dir);
    writeFile(ini, "[a]\nx=1\n");
    EXPECT_EQ(s.readInt("a", "x", 0), 1);
    // Replaced within the same moment with a text of the same size.
    writeFile(ini, "[a]\nx=2\n");
    EXPECT_EQ(s.readInt("a", "x", 0), 2);
    // Settled long ago, then changed in place with the same size and the old modification
    // time put back: the change time still tells.
    auto old = std::filesystem::last_write_time(ini) - std::chrono::hours(1);
    std::filesystem::last_write_time(ini, old);
    EXPECT_EQ(s.readInt("a", "x", 0), 2);
    writeFile(ini, "[a]\nx=3\n");
    std::filesystem::last_write_time(ini, old);
    EXPECT_EQ(s.readInt("a", "x", 0), 3);
    // A value already stored leaves the file untouched; a write of our own is seen at once.
    ASSERT_TRUE(s.writeInt("a", "x", 3));
    EXPECT_EQ(std::filesystem::last_write_time(ini), old);
    ASSERT_TRUE(s.writeInt("a", "x", 4));
    EXPECT_EQ(s.readInt("a", "x", 0), 4);
    std::filesystem::remove(ini);
    EXPECT_EQ(s.readInt("a", "x", 0), 0);
}

struct ProblemCase {
    const char* name;
    // The file's contents; "|": a FIFO, "+": a sparse file past the size limit; empty: no file.
    std::string bytes;
    std::string messageHead; // how the message begins; empty: no problem
};

class SettingsFileProblem : public SettingsTest,
                            public ::testing::WithParamInterface<ProblemCase> {};

TEST_P(SettingsFileProblem, IsReportedInsteadOfReadingAsDefaults) {
    const auto& c = GetParam();
    if (c.bytes == "|")
        ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0); // once blocked the reader in open()
    else if (c.bytes == "+") {
        writeFile(ini, "");
        std::filesystem::resize_file(ini, std::uintmax_t(65) << 20);
    } else if (!c.bytes.empty())
        writeFile(ini, c.bytes);
    Settings s(dir);
    auto problem = s.fileProblem();
    if (c.messageHead.empty()) {
        EXPECT_FALSE(problem) << *problem;
        return;
    }
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->rfind(c.messageHead, 0), 0u) << *problem;
    EXPECT_NE(problem->find(ini), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsFileProblem,
    ::testing::Values(ProblemCase{"GbkText", "[common]\ntitle=" + toGbk("门禁工具") + "\n", ""},
                      ProblemCase{"NoFile", "", ""}, ProblemCase{"Fifo", "|", "设置文件无法读取："},
                      ProblemCase{"PastTheSizeLimit", "+", "设置文件无法读取："},
                      ProblemCase{"Utf8WithBom", "\xEF\xBB\xBF[db]\nxstr=1\n",
                                  "设置文件是UTF-8编码的"},
                      ProblemCase{"BadByteOnLineThree", "[a]\nx=1\ny=\x80\xFF\n",
                                  "设置文件中有不是GBK编码的内容（第3行）"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvane
