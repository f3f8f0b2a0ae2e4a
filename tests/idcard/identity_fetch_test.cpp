#include <gtest/gtest.h>

#include <filesystem>

#include "idcard/identity_fetch.h"
#include "idcard/photo_decode.h"
#include "identity_block.h"
#include "infra/codepage.h"
#include "loopback_session.h"
#include "platform/files.h"

namespace quorvane {
namespace {

using test::replyTo;
using test::SentFrame;

TEST(IdentityFetch, LinesOfValidAndInvalidNumbersGoToTheFileAndPhotosAreDecoded) {
    test::LoopbackSession t{"identity-fetch", 112};
    std::filesystem::copy_file(std::string(QUORVANE_READER_STANDIN_DIR) + "/reader/libWltRS.so",
                               t.home + "/libWltRS.so");
    auto invalid = test::IdentityBlock::resident().put(122, u"110105194912310021");
    t.controller.setScript([&](const SentFrame& f) {
        return std::vector<std::string>{
            replyTo(f, 1, test::identityMessage(test::IdentityBlock::resident(), 7, "app")),
            replyTo(f, 1, test::identityMessage(invalid, 8)), replyTo(f, 0)};
    });
    PhotoDecoder photos(t.home, {}, t.clock);
    auto result = fetchIdentities(t.s(), t.device, 7, 3, &photos);

    const std::string frame = t.controller.frame(0);
    EXPECT_EQ(test::hex(frame.substr(28)), test::hex(test::unhex("54000008070000000A0000006D")));
    const std::string expected =
        "操作成功，证件信息为=00007,张三,男,汉,19900101,北京市东城区某街道1号,"
        "11010519491231002X,北京市公安局东城分局,20200101,20300101,,,身份证$,127.0.0.2:" +
        std::to_string(t.port) +
        ",app\n操作成功，证件信息为=此位置没有数据或者数据错误！\n操作失败\n";
    EXPECT_EQ(result.text, expected);
    EXPECT_EQ(fromGbk(test::readFile(t.home + "/历史证件.txt")), expected);
    EXPECT_EQ(t.user.opened(), std::vector<std::string>{t.home + "/历史证件.txt"});
    EXPECT_TRUE(t.user.notices().empty());
    EXPECT_TRUE(platform::fileExists(t.home + "/img/11010519491231002X.bmp"));
}

} // namespace
} // namespace quorvane
