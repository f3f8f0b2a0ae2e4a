#include <gtest/gtest.h>

#include "cli_run.h"

namespace quorvane::cli {
namespace {

const char* kSearch = "55555555555555555555555555555555 FFFF FFFFFFFFFFFF FFFF 0100 02 00 0000 02";

TEST(DecodeFrame, SearchFramePrintsItsFieldsInOrder) {
    auto r = runReal({"decode", "frame", kSearch});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "kind=request\ntarget=65535\nsequence=1\ncommand=2 设备搜索\nlength=0\n"
                     "checksum=ok\n");
}

TEST(DecodeFrame, ReplyShowsStatusAndUnnamedCodes) {
    auto r = runReal({"decode", "frame",
                      "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA FFFFFFFFFFFFFFFF 0102 0500 05 01 0000 06"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out,
              "kind=reply\ntarget=258\nsequence=5\ncommand=5 \nstatus=1\nlength=0\nchecksum=ok\n");
}

TEST(DecodeFrame, BadChecksumLengthOrPrefixExitsOne) {
    std::string bad = kSearch;
    bad.back() = '3';
    auto r = runReal({"decode", "frame", bad});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("checksum=bad"), std::string::npos);
    // One extra byte: the length field no longer matches.
    EXPECT_EQ(runReal({"decode", "frame", std::string(kSearch) + "00"}).code, 1);
    std::string prefix = kSearch;
    prefix[0] = '4';
    auto p = runReal({"decode", "frame", prefix});
    EXPECT_EQ(p.code, 1);
    EXPECT_TRUE(p.out.empty());
    EXPECT_EQ(runReal({"decode", "frame", "5555"}).code, 1);
}

TEST(DecodeFrame, NotHexIsAUsageError) {
    EXPECT_EQ(runReal({"decode", "frame", "zz"}).code, 2);
    EXPECT_EQ(runReal({"decode", "frame"}).code, 2);
}

} // namespace
} // namespace quorvane::cli
