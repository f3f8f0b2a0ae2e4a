#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "idcard/photo_decode.h"
#include "identity_block.h"
#include "platform/files.h"
#include "test_paths.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using test::wltPhoto;
const std::string kNumber = "11010519491231002X";

struct Photos : ::testing::Test {
    std::string home = test::scratchDir("photos");
    std::string at(const std::string& name) { return home + "/" + name; }
    bool exists(const std::string& name) { return platform::fileExists(at(name)); }
    void withLibrary() {
        fs::copy_file(std::string(QUORVANE_READER_STANDIN_DIR) + "/reader/libWltRS.so",
                      at("libWltRS.so"));
    }
    // The decoder program: at each start it turns the working WLT files beside it into BMPs,
    // after a pause, and writes its pid (which then ends).
    void withProgram() {
        test::writeFile(at("Ferrix"), "#!/bin/sh\ncd \"$(dirname \"$0\")\"\necho $$ > ferrix.pid\n"
                                      "echo \"$1\" >> starts.txt\nsleep 0.3\n"
                                      "for f in *__.wlt; do { printf BM; cat \"$f\"; } > "
                                      "\"${f%.wlt}.tmp\"; mv \"${f%.wlt}.tmp\" \"${f%.wlt}.bmp\"; "
                                      "done\n");
        fs::permissions(at("Ferrix"), fs::perms::owner_all);
    }
    PhotoDecoder decoder(PhotoSettings settings = {}) {
        return PhotoDecoder(home, settings, systemClock());
    }
};

TEST_F(Photos, ParseImageZeroKeepsOnlyTheFirstWltAndABmpInBmpIsCopiedWithoutADecode) {
    withLibrary();
    PhotoSettings keep;
    keep.parseImage = 0;
    auto d = decoder(keep);
    d.decodePhoto(kNumber, asBytes(wltPhoto(1)), false);
    d.decodePhoto(kNumber, asBytes(wltPhoto(2)), false);
    EXPECT_EQ(test::readFile(at("img/" + kNumber + ".wlt")), wltPhoto(1));
    EXPECT_FALSE(exists("img/" + kNumber + ".bmp"));
    test::writeFile(at("bmp/" + kNumber + ".bmp"), "BMold");
    decoder().decodePhoto(kNumber, asBytes(wltPhoto()), false);
    EXPECT_EQ(test::readFile(at("img/" + kNumber + ".bmp")), "BMold");
    EXPECT_FALSE(exists("sdt-calls.log"));
}

TEST_F(Photos, DamagedDataAndAMissingLibraryDecodeNothing) {
    withLibrary();
    EXPECT_FALSE(decoder().parse2ndBmp_implement("a__.wlt", asBytes(std::string(1024, '\0'))));
    EXPECT_FALSE(exists("a__.wlt"));
    // The raw data the check refuses is kept as the local reader keeps it, undecoded.
    decoder().decodePhoto(kNumber, asBytes(std::string(1024, '\0')), false);
    EXPECT_EQ(test::readFile(at("img/" + kNumber + ".wlt")), std::string(1024, '\0'));
    EXPECT_FALSE(exists("img/" + kNumber + ".bmp") || exists("sdt-calls.log"));
    // A program directory of its own: the library above stays loaded under its name.
    PhotoDecoder without(at("without"), {}, systemClock());
    fs::create_directories(at("without"));
    EXPECT_FALSE(without.parse2ndBmp_implement("b__.wlt", asBytes(wltPhoto())));
    EXPECT_EQ(without.lastError().rfind("加载WltRS.dll文件失败！", 0), 0u);
}

TEST_F(Photos, TheDecoderProgramIsStartedWithItsParameterAndASecondDecodeFails) {
    withProgram();
    withLibrary(); // present, but the program comes first
    auto d = decoder();
    bool first = false;
    std::thread running([&] { first = d.parse2ndBmp_implement("a__.wlt", asBytes(wltPhoto())); });
    while (!exists("a__.wlt"))
        std::this_thread::yield();
    EXPECT_FALSE(d.parse2ndBmp_implement("b__.wlt", asBytes(wltPhoto())));
    running.join();
    EXPECT_TRUE(first);
    EXPECT_EQ(test::readFile(at("a__.bmp")), "BM" + wltPhoto());
    EXPECT_EQ(test::readFile(at("starts.txt")), "5820193746\n");
    EXPECT_FALSE(exists("sdt-calls.log"));
}

// The library is loaded from the program directory by its full path and called with the
// working file, which is gone afterwards; the BMP lands in both folders.
TEST_F(Photos, ThePhotoPathIsMadeFromAWltLeftInTmp) {
    withLibrary();
    test::writeFile(at("tmp/" + kNumber + ".wlt"), wltPhoto());
    auto d = decoder();
    EXPECT_EQ(d.photoPathFor(kNumber), at("img/" + kNumber + ".bmp"));
    EXPECT_EQ(test::readFile(at("bmp/" + kNumber + ".bmp")), "BM" + wltPhoto());
    EXPECT_NE(test::readFile(at("sdt-calls.log")).find("GetBmp " + at(kNumber + "__.wlt") + " 1"),
              std::string::npos);
    EXPECT_FALSE(exists(kNumber + "__.wlt") || exists(kNumber + "__.bmp"));
    auto copy = [](const std::string& from, const std::string& to) {
        return platform::replaceFile(to, "JPEG" + test::readFile(from));
    };
    EXPECT_EQ(d.photoPathFor(kNumber, copy), at("img/" + kNumber + ".jpg"));
    EXPECT_EQ(test::readFile(at("img/" + kNumber + ".jpg")), "JPEGBM" + wltPhoto());
    EXPECT_EQ(d.photoPathFor("../x"), "");
}

} // namespace
} // namespace quorvane
