#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "infra/codepage.h"
#include "recording_user_port.h"
#include "remote/network_identity.h"
#include "test_paths.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

constexpr const char* kSnIsMacQuestion =
    "分配新的MAC地址会重新生成设备名称/标志，确定要继续吗？如果希望保证设备标志不改变，请将设备标"
    "志转换为16进制后填充到MAC地址低两位。";

// Three bytes in turn, as the random source.
std::function<std::uint8_t()> cycling(std::array<std::uint8_t, 3> bytes) {
    return [bytes, n = 0]() mutable { return bytes[n++ % 3]; };
}

Settings settingsWith(const std::string& common) {
    std::string dir = scratchDir("identity");
    writeFile(dir + "/config.ini", "[common]\n" + common + "\n");
    return Settings(dir);
}

} // namespace

// The maker's prefix and three random bytes in lower-case hex; asked first when the name
// follows the MAC (sn-is-mac, 1 by default), and nothing asked without a record.
TEST(NewMacAddress, IsTheMakersPrefixAndThreeRandomBytesAskedForWhenTheNameFollows) {
    RecordingUserPort port;
    Settings own = settingsWith("sn-is-mac=0");
    EXPECT_EQ(newMacAddress(own, port, true, cycling({0x0A, 0xBC, 0xFF})), "08.00.09.0a.bc.ff");
    Settings s = settingsWith("");
    EXPECT_FALSE(newMacAddress(s, port, false, [] { return std::uint8_t{0}; }));
    EXPECT_EQ(port.messages(), std::vector<std::string>{"请选择要操作的记录！"});
    for (Answer a : {Answer::Yes, Answer::No}) {
        port.answer(a);
        auto mac = newMacAddress(s, port, true, cycling({1, 2, 3}));
        EXPECT_EQ(port.questions().back(), kSnIsMacQuestion);
        EXPECT_EQ(mac, a == Answer::Yes ? std::optional<std::string>("08.00.09.01.02.03")
                                        : std::nullopt);
    }
    EXPECT_EQ(port.questions().size(), 2u); // none before the loop's two
}

// Saving clears both fields, then stores what was typed, cut to the field without splitting a
// character.
TEST(PppoeAccount, SavingClearsBothFieldsThenStoresWhatFits) {
    DeviceUIInfo r;
    r.pppoeAccount.fill('x');
    r.pppoePassword.fill('y');
    storePppoeAccount(r, {"user@isp", "secret"});
    EXPECT_EQ(hex(std::string(r.pppoeAccount.begin(), r.pppoeAccount.end())),
              hex("user@isp" + std::string(24, '\0')));
    EXPECT_EQ(hex(std::string(r.pppoePassword.begin(), r.pppoePassword.end())),
              hex("secret" + std::string(4, '\0')));
    // 40 letters: the account keeps 32. The password field holds 10 bytes: 1 + 4 x 2 = 9; the
    // fifth character would need bytes 10 and 11.
    storePppoeAccount(r, {std::string(40, 'a'), "a密码密码密码"});
    EXPECT_EQ(std::string(r.pppoeAccount.begin(), r.pppoeAccount.end()), std::string(32, 'a'));
    EXPECT_EQ(pppoeAccountOf(r).password, "a密码密码");
    EXPECT_EQ(r.pppoePassword[9], 0);
    // A stored account reads back in UTF-8.
    storePppoeAccount(r, {"宽带账号", "1"});
    EXPECT_EQ(std::string(r.pppoeAccount.begin(), r.pppoeAccount.begin() + 8), toGbk("宽带账号"));
    EXPECT_EQ(pppoeAccountOf(r).account, "宽带账号");
}
