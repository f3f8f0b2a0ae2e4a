#include "infra/md5.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(Md5Test, MatchesTheReferenceVectors) {
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_NE(md5Hex(std::string("a\0b", 3)), md5Hex("a")); // every byte counts, zeros too
}

} // namespace
} // namespace quorvane
