// The local identity-card reader against stand-ins of the reader's libraries copied into a
// program directory of each test: the port search, the calls made on the reader, the card read
// into IdentityInfo and where its photo ends up.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>
#include <vector>

#include "fake_clock.h"
#include "idcard/card_reader_sdt.h"
#include "identity_block.h"
#include "test_paths.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using Calls = std::vector<std::string>;

const std::string kStandins = QUORVANE_READER_STANDIN_DIR;
// A compressed photo as a reader gives it: the signature, then bytes without long runs.
std::string photoBytes() {
    std::string p = "WLf";
    for (int i = 3; i < 1024; ++i)
        p.push_back(static_cast<char>(i * 7 % 251));
    return p;
}
const std::string kPhoto = photoBytes();

class LocalReader : public ::testing::Test {
  protected:
    void SetUp() override {
        home = test::scratchDir("sdt-reader");
        install("reader");
        test::writeFile(home + "/card-text.bin", blockText(test::IdentityBlock::resident()));
        test::writeFile(home + "/card-photo.bin", kPhoto);
    }
    void install(const std::string& folder, bool withWlt = true) {
        fs::copy_file(kStandins + "/" + folder + "/libsdtapi.so", home + "/libsdtapi.so",
                      fs::copy_options::overwrite_existing);
        if (withWlt)
            fs::copy_file(kStandins + "/reader/libWltRS.so", home + "/libWltRS.so",
                          fs::copy_options::overwrite_existing);
        else
            fs::remove(home + "/libWltRS.so");
    }
    static std::string blockText(const test::IdentityBlock& b) {
        return std::string(b.bytes().begin(), b.bytes().end());
    }
    // config.ini's [port] and [common] keys, and the stand-in's control lines.
    void setUp(const std::string& port, const std::string& common, const std::string& control) {
        test::writeFile(home + "/config.ini", "[port]\n" + port + "\n[common]\n" + common + "\n");
        test::writeFile(home + "/sdt-standin.txt", control + "\n");
    }
    bool read(std::string* portText = nullptr) {
        Settings settings(home);
        return readLocalIdentityCard(settings, home, clock, info, portText);
    }
    Calls calls() const {
        Calls lines;
        std::istringstream in(test::readFile(home + "/sdt-calls.log"));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    // The calls of the port search: from loading to the first card search.
    Calls searchCalls() const {
        Calls all = calls(), search;
        for (const auto& c : all) {
            if (c.rfind("SDT_StartFindIDCard", 0) == 0)
                break;
            if (c.rfind("load ", 0) != 0)
                search.push_back(c);
        }
        return search;
    }
    std::size_t count(const std::string& prefix) const {
        std::size_t n = 0;
        for (const auto& c : calls())
            n += c.rfind(prefix, 0) == 0;
        return n;
    }
    std::string file(const std::string& name) const { return test::readFile(home + "/" + name); }

    std::string home;
    test::FakeClock clock;
    IdentityInfo info;
};

// What the search does on ports where no reader answers.
void failedUsb(Calls& c, int from, int to) {
    for (int p = from; p <= to; ++p) {
        c.push_back("SDT_OpenPort " + std::to_string(p));
        c.push_back("SDT_ClosePort " + std::to_string(p));
    }
}
void failedSerial(Calls& c, int from, int to) {
    for (int p = from; p <= to; ++p) {
        const std::string n = std::to_string(p);
        c.insert(c.end(), {"SDT_OpenPort " + n, "SDT_ResetSAM " + n + " 0",
                           "SDT_ResetSAM " + n + " 1", "SDT_ClosePort " + n});
    }
}
void opened(Calls& c, int port, bool checked = true) {
    c.push_back("SDT_OpenPort " + std::to_string(port));
    if (checked)
        c.push_back("SDT_GetSAMIDToStr " + std::to_string(port) + " 0");
}

struct SearchCase {
    std::string name, port, common, control;
    int found;
    Calls search;
};
void PrintTo(const SearchCase& c, std::ostream* out) {
    *out << c.name;
}

class PortSearch : public LocalReader, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(PortSearch, PicksTheFirstPortThatOpensAndAnswers) {
    const SearchCase& c = GetParam();
    setUp(c.port, c.common, c.control);
    std::string portText;
    ASSERT_TRUE(read(&portText));
    EXPECT_EQ(portText, "端口" + std::to_string(c.found));
    EXPECT_EQ(searchCalls(), c.search);
    EXPECT_EQ(clock.elapsed(), Clock::Duration::zero());
}

std::vector<SearchCase> searchCases() {
    std::vector<SearchCase> cases;
    Calls c;
    failedUsb(c, 1001, 1002);
    opened(c, 1003);
    cases.push_back({"UsbFirst", "fix=-1", "", "open=1003,2\nreader=1003", 1003, c});

    c.clear();
    failedUsb(c, 1001, 1016);
    failedSerial(c, 1, 4);
    opened(c, 5);
    cases.push_back({"SerialAfterEveryUsb", "fix=-1", "", "open=5\nreader=5", 5, c});

    c.clear();
    failedUsb(c, 1001, 1016);
    failedSerial(c, 3, 3);
    opened(c, 4);
    cases.push_back({"SerialFromStart", "fix=-1\nstart=3", "", "open=4,2\nreader=4", 4, c});

    for (const char* start : {"17", "-1", "0"}) {
        c.clear();
        failedUsb(c, 1001, 1016);
        opened(c, 1);
        cases.push_back({std::string("StartOutOfRange") + (start[0] == '-' ? "Minus1" : start),
                         "fix=-1\nstart=" + std::string(start), "", "open=1\nreader=1", 1, c});
    }

    // A port that opens without a reader behind it is closed again and the search goes on.
    c.clear();
    opened(c, 1001);
    c.push_back("SDT_ClosePort 1001");
    failedUsb(c, 1002, 1016);
    failedSerial(c, 1, 1);
    opened(c, 2);
    cases.push_back({"IdCheckSkipsPortWithoutReader", "fix=-1", "check-dev-id=1",
                     "open=1001,2\nreader=2", 2, c});

    c.clear();
    failedUsb(c, 1001, 1001);
    opened(c, 1002, false);
    cases.push_back({"WithoutIdCheckFirstOpenPortWins", "fix=-1", "check-dev-id=0",
                     "open=1002,7\nreader=1002", 1002, c});

    c.clear();
    opened(c, 7);
    cases.push_back({"FixedPort", "fix=7", "", "open=1,7\nreader=7", 7, c});

    c.clear();
    for (int p = 1001; p <= 1005; ++p)
        c.push_back("SDT_GetSAMIDToStr " + std::to_string(p) + " 1");
    cases.push_back({"OpenInIfTakesPortsAsOpen", "fix=-1", "openinif=1", "reader=1005", 1005, c});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(LocalReader, PortSearch, ::testing::ValuesIn(searchCases()),
                         [](const auto& i) { return i.param.name; });

struct NoReaderCase {
    std::string name, port, common, control;
};

class NoReader : public LocalReader, public ::testing::WithParamInterface<NoReaderCase> {};

// Nothing found: five seconds of the tool's clock pass (none of real time) and both libraries
// are let go.
TEST_P(NoReader, FailsAfterFiveSecondPauseAndReleases) {
    const NoReaderCase& c = GetParam();
    setUp(c.port, c.common, c.control);
    auto began = std::chrono::steady_clock::now();
    EXPECT_FALSE(read());
    EXPECT_EQ(clock.elapsed(), std::chrono::seconds(5));
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(4));
    EXPECT_EQ(count("SDT_StartFindIDCard"), 0u);
    EXPECT_EQ(count("unload libsdtapi"), 1u);
    EXPECT_EQ(count("unload libWltRS"), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    LocalReader, NoReader,
    ::testing::Values(NoReaderCase{"NothingOpens", "fix=-1", "", "reader=3"},
                      NoReaderCase{"EmptySamId", "fix=-1", "", "open=3\nreader=3\nsam-id="},
                      NoReaderCase{"FixedPortClosed", "fix=9", "", "open=3\nreader=3"},
                      NoReaderCase{"OpenInIfSilent", "fix=-1", "openinif=1", "reader=99"}),
    [](const auto& i) { return i.param.name; });

TEST_F(LocalReader, FixZeroLoadsNothing) {
    for (const char* port : {"fix=0", ""}) {
        setUp(port, "", "open=1001\nreader=1001");
        std::string portText = "unchanged";
        EXPECT_FALSE(read(&portText));
        EXPECT_EQ(portText, "unchanged");
        EXPECT_FALSE(fs::exists(home + "/sdt-calls.log"));
        EXPECT_EQ(clock.elapsed(), Clock::Duration::zero());
    }
}

TEST_F(LocalReader, FailedSerialOpenResetsTheModuleTwiceAndCloses) {
    setUp("fix=3", "", "reader=3");
    EXPECT_FALSE(read());
    EXPECT_EQ(searchCalls(), (Calls{"SDT_OpenPort 3", "SDT_ResetSAM 3 0", "SDT_ResetSAM 3 1",
                                    "SDT_ClosePort 3", "unload libWltRS", "unload libsdtapi"}));
}

TEST_F(LocalReader, ReadsCardIntoIdentityInfoAndStoresPhoto) {
    setUp("fix=-1", "reset=1", "open=1002\nreader=1002\ncard-after=3");
    ASSERT_TRUE(read());
    EXPECT_EQ(info.name, "张三");
    EXPECT_EQ(info.number, "11010519491231002X");
    EXPECT_EQ(info.address, "北京市东城区某街道1号");
    EXPECT_EQ(info.validTo, "20300101");
    const std::string n = "11010519491231002X";
    Calls all = calls();
    Calls after(std::find(all.begin(), all.end(), "SDT_StartFindIDCard 1002 0"), all.end());
    EXPECT_EQ(after, (Calls{"SDT_StartFindIDCard 1002 0", "SDT_StartFindIDCard 1002 0",
                            "SDT_StartFindIDCard 1002 0", "SDT_SelectIDCard 1002 0",
                            "SDT_ReadBaseMsg 1002 0", "SDT_ReadNewAppMsg 1002 0",
                            "GetBmp " + home + "/" + n + ".wlt 2", "SDT_ResetSAM 1002 0",
                            "SDT_ClosePort 1002", "unload libWltRS", "unload libsdtapi"}));
    EXPECT_EQ(file("img/" + n + ".bmp"), "BM" + kPhoto);
    EXPECT_EQ(file("bmp/" + n + ".bmp"), "BM" + kPhoto);
    EXPECT_EQ(file("img/" + n + ".wlt"), kPhoto);
    EXPECT_FALSE(fs::exists(home + "/" + n + ".wlt"));
    EXPECT_FALSE(fs::exists(home + "/" + n + ".bmp"));
}

TEST_F(LocalReader, SerialPortDecodesPhotoOfKindOneAndSetsBaudRate) {
    setUp("fix=5\ncombaud=9600", "reset=0", "open=5\nreader=5\nbaud=115200");
    std::string portText;
    ASSERT_TRUE(read(&portText));
    EXPECT_EQ(portText, "端口5");
    Calls all = calls();
    EXPECT_EQ(Calls(all.begin() + 3, all.begin() + 6),
              (Calls{"SDT_GetSAMIDToStr 5 0", "SDT_GetCOMBaud 5", "SDT_SetCOMBaud 5 115200 9600"}));
    EXPECT_EQ(count("GetBmp " + home + "/11010519491231002X.wlt 1"), 1u);
    EXPECT_EQ(count("SDT_ResetSAM"), 0u);
}

TEST_F(LocalReader, OpenInIfPassesItToEveryCallAndOpensNothing) {
    setUp("fix=1004", "openinif=1\nreset=2", "reader=1004");
    ASSERT_TRUE(read());
    EXPECT_EQ(calls(), (Calls{"load libsdtapi", "load libWltRS", "SDT_GetSAMIDToStr 1004 1",
                              "SDT_StartFindIDCard 1004 1", "SDT_SelectIDCard 1004 1",
                              "SDT_ReadBaseMsg 1004 1", "SDT_ReadNewAppMsg 1004 1",
                              "GetBmp " + home + "/11010519491231002X.wlt 2", "SDT_ResetSAM 1004 1",
                              "unload libWltRS", "unload libsdtapi"}));
}

struct FindCase {
    int cardAfter;
    bool found;
    std::size_t searches;
};

class CardSearch : public LocalReader, public ::testing::WithParamInterface<FindCase> {};

TEST_P(CardSearch, GivesUpAfterFiveAttempts) {
    setUp("fix=1001", "",
          "open=1001\nreader=1001\ncard-after=" + std::to_string(GetParam().cardAfter));
    Settings settings(home);
    CCardReader_SDT reader(settings, home, clock);
    ASSERT_TRUE(reader.Initialise());
    EXPECT_EQ(reader.Read(info), GetParam().found);
    EXPECT_EQ(count("SDT_StartFindIDCard"), GetParam().searches);
    EXPECT_EQ(count("SDT_ReadBaseMsg"), GetParam().found ? 1u : 0u);
    if (!GetParam().found) {
        EXPECT_EQ(reader.lastStatus(), 0x80);
    }
}

INSTANTIATE_TEST_SUITE_P(LocalReader, CardSearch,
                         ::testing::Values(FindCase{1, true, 1}, FindCase{5, true, 5},
                                           FindCase{6, false, 5}, FindCase{0, false, 5}));

TEST_F(LocalReader, MissingLibraryOrFunctionFailsCleanly) {
    setUp("fix=-1", "", "open=1001\nreader=1001");
    struct {
        std::string folder;
        bool withWlt;
        std::string error;
    } cases[] = {{"reader", false, "libWltRS.so"},
                 {"reader-without-fp", true, "missing function SDT_ReadFPMsg"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        install(c.folder, c.withWlt);
        fs::remove(home + "/sdt-calls.log");
        Settings settings(home);
        CCardReader_SDT reader(settings, home, clock);
        auto before = clock.elapsed();
        EXPECT_FALSE(reader.Initialise());
        EXPECT_NE(reader.lastError().find(c.error), std::string::npos) << reader.lastError();
        EXPECT_EQ(clock.elapsed() - before, std::chrono::seconds(5));
        EXPECT_EQ(count("SDT_"), 0u);
        EXPECT_EQ(count("unload libsdtapi"), 1u);
    }
    // Only a path is loaded: a bare name would let the loader search the system for it.
    platform::SharedLibrary bare;
    EXPECT_FALSE(bare.open("libsdtapi.so"));
}

// A document number comes from the card: whatever it holds, no file lands outside the
// program directory's photo folders; the text is still read.
class HostileNumber : public LocalReader, public ::testing::WithParamInterface<std::string> {};

TEST_P(HostileNumber, WritesNoPhotoFile) {
    fs::create_directories(home + "/app");
    const std::string outside = home;
    home += "/app";
    install("reader");
    test::writeFile(
        home + "/card-text.bin",
        blockText(
            test::IdentityBlock::resident().put(122, std::string(18, ' ')).put(122, GetParam())));
    test::writeFile(home + "/card-photo.bin", kPhoto);
    setUp("fix=1001", "", "open=1001\nreader=1001");
    auto tree = [&] {
        std::vector<std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(fs::path(outside).parent_path()))
            files.push_back(e.path().string());
        std::sort(files.begin(), files.end());
        return files;
    };
    auto before = tree();
    before.push_back(home + "/sdt-calls.log");
    std::sort(before.begin(), before.end());
    ASSERT_TRUE(read());
    EXPECT_EQ(info.number, GetParam());
    EXPECT_EQ(count("GetBmp"), 0u);
    EXPECT_EQ(tree(), before);
    for (const char* folder : {"/", "/img/", "/bmp/"})
        for (const char* ending : {".wlt", ".bmp"})
            EXPECT_FALSE(fs::exists(home + folder + GetParam() + ending));
}

INSTANTIATE_TEST_SUITE_P(LocalReader, HostileNumber,
                         ::testing::Values("../../../../x", "..", "a/b", "/tmp/evil", "1101\\..\\x",
                                           "号码110105", "%s%s%n", "A.B"));

// The library reports more than the buffers hold: only the 256 text and 1,024 photo bytes count.
TEST_F(LocalReader, OversizedLengthsReadNoMoreThanTheBuffers) {
    setUp("fix=1001", "", "open=1001\nreader=1001\ntext-length=100000\nphoto-length=4000000000");
    ASSERT_TRUE(read());
    EXPECT_EQ(info.number, "11010519491231002X");
    EXPECT_EQ(file("img/11010519491231002X.wlt"), kPhoto);
}

TEST_F(LocalReader, ShortOrFailedReadsGiveNothing) {
    for (const char* control : {"text-length=0", "read-status=0x41"}) {
        SCOPED_TRACE(control);
        setUp("fix=1001", "", std::string("open=1001\nreader=1001\n") + control);
        std::string portText;
        EXPECT_FALSE(read(&portText));
        EXPECT_EQ(portText, "");
        EXPECT_EQ(count("GetBmp"), 0u);
    }
}

TEST_F(LocalReader, DamagedOrUndecodedPhotoKeepsTheText) {
    const std::string n = "11010519491231002X";
    test::writeFile(home + "/card-photo.bin", std::string(1024, '\0'));
    setUp("fix=1001", "", "open=1001\nreader=1001");
    ASSERT_TRUE(read());
    EXPECT_EQ(count("GetBmp"), 0u);
    EXPECT_FALSE(fs::exists(home + "/img/" + n + ".wlt"));

    // The decoder leaves no BMP: the raw photo is kept for a later decode, and a BMP left over
    // from an earlier read does not pass for this card's photo.
    test::writeFile(home + "/card-photo.bin", kPhoto);
    test::writeFile(home + "/" + n + ".bmp", "BM stale");
    setUp("fix=1001", "", "open=1001\nreader=1001\nbmp=0");
    ASSERT_TRUE(read());
    EXPECT_EQ(info.number, n);
    EXPECT_EQ(file("img/" + n + ".wlt"), kPhoto);
    EXPECT_FALSE(fs::exists(home + "/img/" + n + ".bmp"));
    EXPECT_FALSE(fs::exists(home + "/" + n + ".wlt"));
    EXPECT_FALSE(fs::exists(home + "/" + n + ".bmp"));
}

// Two threads reading at once take turns: one read's calls never interleave with the other's.
TEST_F(LocalReader, ReadsFromTwoThreadsTakeTurns) {
    setUp("fix=1001", "", "open=1001\nreader=1001");
    ASSERT_TRUE(read());
    Calls one = calls();
    fs::remove(home + "/sdt-calls.log");
    bool ok[2] = {};
    std::thread a([&] {
        IdentityInfo i;
        Settings s(home);
        ok[0] = readLocalIdentityCard(s, home, clock, i);
    });
    std::thread b([&] {
        IdentityInfo i;
        Settings s(home);
        ok[1] = readLocalIdentityCard(s, home, clock, i);
    });
    a.join();
    b.join();
    EXPECT_TRUE(ok[0] && ok[1]);
    Calls twice = one;
    twice.insert(twice.end(), one.begin(), one.end());
    EXPECT_EQ(calls(), twice);
}

} // namespace
} // namespace quorvane
