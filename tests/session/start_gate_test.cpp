#include "session/start_gate.h"

#include <gtest/gtest.h>

#include "test_paths.h"

namespace quorvane {
namespace {

// The shipped config opens with the default password only; a remembered marker opens without a
// password until the password changes; a change needs two equal entries.
TEST(StartGateTest, ShippedConfigTheRememberedMarkerAndAChange) {
    const std::string dir = test::scratchDir("gate");
    test::writeFile(dir + "/config.ini", test::readFile(test::sourceDir() + "/dist/config.ini"));
    Settings s(dir);
    const std::string xstr = "961b74e72e3212585228372772981543";
    EXPECT_EQ(s.readString("db", "xstr", {}, 1024), xstr);
    EXPECT_FALSE(startGateRemembered(s));
    EXPECT_FALSE(startGateCheckPassword(s, "720419", false));
    EXPECT_FALSE(startGateCheckPassword(s, "", false));
    EXPECT_EQ(rememberMarker(xstr), "b115ab8c9b41118ce5f58dce7ffecb9a");

    // A wrong password leaves the marker as it was.
    EXPECT_FALSE(startGateCheckPassword(s, "000000", true));
    EXPECT_EQ(s.readString("db", "xstr-rem", "none", 1024), "none");

    ASSERT_TRUE(startGateCheckPassword(s, "720418", true));
    EXPECT_EQ(s.readString("db", "xstr-rem", {}, 1024), rememberMarker(xstr));
    EXPECT_TRUE(startGateRemembered(s));

    // Not ticking the box on a later start clears the marker again.
    ASSERT_TRUE(startGateCheckPassword(s, "720418", false));
    EXPECT_EQ(s.readString("db", "xstr-rem", "none", 1024), "");
    EXPECT_FALSE(startGateRemembered(s));

    ASSERT_TRUE(startGateCheckPassword(s, "720418", true));
    EXPECT_EQ(changeStartPassword(s, "abc", "abd"), "两次输入的密码不一致！");
    EXPECT_TRUE(startGateRemembered(s));
    // Hashed in its GBK form: "门" is 0xC3C5.
    EXPECT_EQ(changeStartPassword(s, "门", "门"), "操作成功！");
    EXPECT_EQ(s.readString("db", "xstr", {}, 1024), "3364278537f51ff4cb9ae588eabf7c9a");
    EXPECT_FALSE(startGateRemembered(s)); // the stored marker is stale now
    EXPECT_FALSE(startGateCheckPassword(s, "720418", false));
    EXPECT_TRUE(startGateCheckPassword(s, "门", false));
}

TEST(StartGateTest, AFailedSaveIsNotReportedAsSuccess) {
    Settings s(test::scratchDir("gate-ro") + "/missing-directory");
    testing::internal::CaptureStdout();
    EXPECT_EQ(changeStartPassword(s, "x", "x"), "保存失败！");
    testing::internal::GetCapturedStdout();
}

} // namespace
} // namespace quorvane
