#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>
#include <vector>

#include "fake_clock.h"
#include "idcard/card_reader_sdt.h"
#include "idcard/reader_photo.h"
#include "identity_block.h"
#include "platform/shared_library.h"
#include "test_paths.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using Calls = std::vector<std::string>;

const std::string kNumber = "11010519491231002X";
const std::string kPhoto = test::wltPhoto();

struct ReaderCase {
    const char* name;
    std::string port, common, control; // config.ini's [port] and [common]; the stand-in's lines
    int readPort;                      // the port the card was read on; 0: none read
    std::string calls;                 // see expected()
    int pauseSeconds = 0;              // of the tool's clock, after a start that failed
    std::string library = "reader";    // the stand-in's folder; "no-wlt": without libWltRS.so
};

// The calls of a row's steps, separated by commas:
//   usb A-B, serial A-B   ports tried in vain: opened, closed (a serial one reset twice between)
//   probe A-B             the module id asked for on ports the calls open themselves
//   open P                port P opened and its module id read
//   search P N            N searches for a card that find nothing
//   find P                the card found, selected and read with its appendix
//   photo P               the photo decoded (kind 1 on a serial port, 2 on USB)
//   done P                find P, photo P, P closed, end
//   end                   both libraries let go
// ifOpen is 1 with openinif=1; any other step stands as it is.
Calls expected(const ReaderCase& c, const std::string& home) {
    const std::string ifOpen = c.common.find("openinif=1") != std::string::npos ? " 1" : " 0";
    Calls out;
    auto add = [&](const std::string& call, int port, const std::string& tail = "") {
        out.push_back(call + " " + std::to_string(port) + tail);
    };
    std::istringstream steps(c.calls);
    for (std::string step; std::getline(steps, step, ',');) {
        std::istringstream words(step);
        std::string op, range;
        int n = 1;
        words >> op >> range >> n;
        const int from = std::atoi(range.c_str());
        const auto dash = range.find('-');
        const int to = dash == std::string::npos ? from : std::atoi(range.c_str() + dash + 1);
        for (int p = from; p <= to && (op == "usb" || op == "serial" || op == "probe"); ++p) {
            add(op == "probe" ? "SDT_GetSAMIDToStr" : "SDT_OpenPort", p,
                op == "probe" ? ifOpen : "");
            for (const char* ifOpenOfReset : {" 0", " 1"})
                if (op == "serial")
                    add("SDT_ResetSAM", p, ifOpenOfReset);
            if (op != "probe")
                add("SDT_ClosePort", p);
        }
        if (op == "open") {
            add("SDT_OpenPort", from);
            add("SDT_GetSAMIDToStr", from, " 0");
        }
        for (int i = 0; op == "search" && i < n; ++i)
            add("SDT_StartFindIDCard", from, ifOpen);
        if (op == "find" || op == "done")
            for (const char* call : {"SDT_StartFindIDCard", "SDT_SelectIDCard", "SDT_ReadBaseMsg",
                                     "SDT_ReadNewAppMsg"})
                add(call, from, ifOpen);
        if (op == "photo" || op == "done")
            out.push_back("GetBmp " + home + "/" + kNumber + ".wlt " + (from > 1000 ? "2" : "1"));
        if (op == "done")
            add("SDT_ClosePort", from);
        if (op == "end" || op == "done")
            out.insert(out.end(), {"unload libWltRS", "unload libsdtapi"});
        if (op.rfind("SDT_", 0) == 0 || op.rfind("unload", 0) == 0)
            out.push_back(step.substr(step.find_first_not_of(' ')));
    }
    return out;
}

std::string install(const ReaderCase& c) {
    const std::string home = test::scratchDir("sdt-reader"), from = QUORVANE_READER_STANDIN_DIR;
    fs::copy_file(from + "/" + (c.library == "no-wlt" ? "reader" : c.library) + "/libsdtapi.so",
                  home + "/libsdtapi.so");
    if (c.library != "no-wlt")
        fs::copy_file(from + "/reader/libWltRS.so", home + "/libWltRS.so");
    const auto text = test::IdentityBlock::resident().bytes();
    test::writeFile(home + "/card-text.bin", std::string(text.begin(), text.end()));
    test::writeFile(home + "/card-photo.bin", kPhoto);
    test::writeFile(home + "/config.ini", "[port]\n" + c.port + "\n[common]\n" + c.common + "\n");
    test::writeFile(home + "/sdt-standin.txt", c.control + "\n");
    return home;
}

Calls calls(const std::string& home) {
    Calls lines;
    std::istringstream in(test::readFile(home + "/sdt-calls.log"));
    for (std::string line; std::getline(in, line);)
        if (line.rfind("load ", 0) != 0)
            lines.push_back(line);
    return lines;
}

class LocalReader : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(LocalReader, MakesTheCallsOfItsSettingsInOrder) {
    const ReaderCase& c = GetParam();
    const std::string home = install(c);
    test::FakeClock clock;
    IdentityInfo info;
    std::string portText = "unchanged";
    EXPECT_EQ(readLocalIdentityCard(Settings(home), home, clock, info, &portText), c.readPort != 0);
    EXPECT_EQ(portText, c.readPort != 0 ? "端口" + std::to_string(c.readPort) : "unchanged");
    EXPECT_EQ(calls(home), expected(c, home));
    // A failed start pauses on the tool's clock, none of real time.
    EXPECT_EQ(clock.elapsed(), std::chrono::seconds(c.pauseSeconds));
    if (c.readPort != 0) {
        EXPECT_EQ(info.number, kNumber);
        EXPECT_EQ(test::readFile(home + "/img/" + kNumber + ".wlt"), kPhoto);
        EXPECT_EQ(test::readFile(home + "/img/" + kNumber + ".bmp"), "BM" + kPhoto);
        EXPECT_EQ(test::readFile(home + "/bmp/" + kNumber + ".bmp"), "BM" + kPhoto);
    }
}

const std::string kAt1001 = "open=1001\nreader=1001";

INSTANTIATE_TEST_SUITE_P(
    Cases, LocalReader,
    ::testing::Values(
        // The port search: USB ports first, then the serial ones from the start setting.
        ReaderCase{"SerialAfterEveryUsbEachResetTwice", "fix=-1", "", "open=5\nreader=5", 5,
                   "usb 1001-1016, serial 1-4, open 5, done 5"},
        ReaderCase{"SerialFromTheStartSetting", "fix=-1\nstart=3", "", "open=4,2\nreader=4", 4,
                   "usb 1001-1016, serial 3-3, open 4, done 4"},
        ReaderCase{"IdCheckClosesAPortWithoutReader", "fix=-1", "check-dev-id=1",
                   "open=1001,2\nreader=2", 2,
                   "open 1001, SDT_ClosePort 1001, usb 1002-1016, serial 1-1, open 2, done 2"},
        ReaderCase{"WithoutIdCheckTheFirstOpenPortWins", "fix=-1", "check-dev-id=0",
                   "open=1002,7\nreader=1002", 1002, "usb 1001-1001, SDT_OpenPort 1002, done 1002"},
        ReaderCase{"FixedPort", "fix=7", "", "open=1,7\nreader=7", 7, "open 7, done 7"},
        ReaderCase{"OpenInIfOpensNothingAndResetsWithIt", "fix=-1", "openinif=1\nreset=2",
                   "reader=1005", 1005,
                   "probe 1001-1005, find 1005, photo 1005, SDT_ResetSAM 1005 1, end"},
        ReaderCase{"SerialBaudRate", "fix=5\ncombaud=9600", "reset=0",
                   "open=5\nreader=5\nbaud=115200", 5,
                   "open 5, SDT_GetCOMBaud 5, SDT_SetCOMBaud 5 115200 9600, done 5"},
        ReaderCase{"ACardOnTheFifthSearch", "fix=1001", "", kAt1001 + "\ncard-after=5", 1001,
                   "open 1001, search 1001 4, done 1001"},
        ReaderCase{"NoCardAfterFiveSearches", "fix=1001", "", kAt1001 + "\ncard-after=6", 0,
                   "open 1001, search 1001 5, SDT_ClosePort 1001, end"},
        ReaderCase{"NothingOpens", "fix=-1", "", "reader=3", 0, "usb 1001-1016, serial 1-16, end",
                   5},
        ReaderCase{"AnEmptyModuleIdIsNoReader", "fix=-1", "", "open=3\nreader=3\nsam-id=", 0,
                   "usb 1001-1016, serial 1-2, open 3, SDT_ClosePort 3, serial 4-16, end", 5},
        ReaderCase{"SwitchedOffByDefault", "", "", kAt1001, 0, ""},
        ReaderCase{"WithoutThePhotoDecoder", "fix=-1", "", kAt1001, 0, "unload libsdtapi", 5,
                   "no-wlt"},
        ReaderCase{"ALibraryWithoutAFunction", "fix=-1", "", kAt1001, 0, "end", 5,
                   "reader-without-fp"},
        ReaderCase{"NoTextWritten", "fix=1001", "", kAt1001 + "\ntext-length=0", 0,
                   "open 1001, find 1001, SDT_ClosePort 1001, end"},
        ReaderCase{"AFailedRead", "fix=1001", "", kAt1001 + "\nread-status=0x41", 0,
                   "open 1001, SDT_StartFindIDCard 1001 0, SDT_SelectIDCard 1001 0, "
                   "SDT_ReadBaseMsg 1001 0, SDT_ClosePort 1001, end"},
        // Only the 256 text and 1,024 photo bytes count, whatever lengths come back.
        ReaderCase{"OversizedLengths", "fix=1001", "",
                   kAt1001 + "\ntext-length=100000\nphoto-length=4000000000", 1001,
                   "open 1001, done 1001"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LocalReaderThreads, ReadsFromTwoThreadsTakeTurns) {
    const ReaderCase c{"",      "fix=1001", "",
                       kAt1001, 1001,       "open 1001, done 1001, open 1001, done 1001"};
    const std::string home = install(c);
    test::FakeClock clock;
    bool read[2] = {};
    auto reader = [&](bool& ok) {
        IdentityInfo info;
        ok = readLocalIdentityCard(Settings(home), home, clock, info);
    };
    std::thread a(reader, std::ref(read[0])), b(reader, std::ref(read[1]));
    a.join();
    b.join();
    EXPECT_TRUE(read[0] && read[1]);
    EXPECT_EQ(calls(home), expected(c, home));
}

TEST(ReaderPhoto, OnlyALetterAndDigitNumberNamesAFileAndAStaleBmpNeverPassesForThePhoto) {
    const std::string home = test::scratchDir("reader-photo");
    bool decoded = false;
    auto decode = [&](const std::string&) { decoded = true; };
    for (const char* number : {"../../../../x", "..", "a/b", "/tmp/evil", "1101\\..\\x",
                               "号码110105", "%s%s%n", "A.B", ""})
        EXPECT_FALSE(storeReaderPhoto(home, number, asBytes(kPhoto), decode)) << number;
    EXPECT_FALSE(decoded);
    EXPECT_TRUE(fs::is_empty(home));
    // The decoder leaves no BMP: the raw photo is kept for a later decode.
    test::writeFile(home + "/" + kNumber + ".bmp", "BM stale");
    EXPECT_FALSE(storeReaderPhoto(home, kNumber, asBytes(kPhoto), decode));
    EXPECT_TRUE(decoded);
    EXPECT_EQ(test::readFile(home + "/img/" + kNumber + ".wlt"), kPhoto);
    for (const std::string left : {"/img/", "/bmp/", "/"})
        EXPECT_FALSE(fs::exists(home + left + kNumber + ".bmp")) << left;
    EXPECT_FALSE(fs::exists(home + "/" + kNumber + ".wlt"));
}

// Only a path is loaded: a bare name would let the loader search the system for the library.
TEST(ReaderLibraries, ABareNameIsNotLoaded) {
    platform::SharedLibrary bare;
    EXPECT_FALSE(bare.open("libsdtapi.so"));
}

} // namespace
} // namespace quorvane
